#pragma once

#include "abstractgraphitem.h"
#include "graphmodule.h"

#include <QImage>

// The picture under the box, coarsened into blocks and then smoothed, so that text under
// it cannot be read back. The line width sets the block size.
class BlurItem : public AbstractGraphItem
{
    Q_OBJECT
public:
    explicit BlurItem(QQuickItem *parent = nullptr);

    void paintContent(QPainter *painter) override;

    // The blurred form of `source`, with blocks of about `blockSize` pixels.
    static QImage blurred(const QImage &source, int blockSize);

private:
    int blockSize() const;

    QImage m_cache;
    QRect m_cacheRect;
    qint64 m_cacheKey = 0;
    int m_cacheBlock = 0;
};

// Tool "Blur": drag the box to blur.
class BlurModule : public DragShapeModule
{
    Q_OBJECT
public:
    explicit BlurModule(QObject *parent);

protected:
    AbstractGraphItem *createItem() override;
};
