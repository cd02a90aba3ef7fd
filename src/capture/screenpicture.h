#pragma once

#include <QImage>
#include <QPixmap>
#include <QQuickItem>

#include <memory>

class ServerPicture;

// The still picture of the screens under a capture page, drawn straight from the picture's
// pixels into the window: no texture, no copy. The picture is synchronous, so it is there in
// the first frame a capture shows, and it is let go the moment it is replaced, also while the
// window is hidden and draws nothing (a texture would hold it until the next frame).
// Unless told otherwise, the item takes the picture's own size.
class ScreenPicture : public QQuickItem
{
    Q_OBJECT
    Q_PROPERTY(QPixmap picture READ picture WRITE setPicture NOTIFY pictureChanged)

public:
    explicit ScreenPicture(QQuickItem *parent = nullptr);
    ~ScreenPicture() override;

    QPixmap picture() const;
    void setPicture(const QPixmap &picture);
    // A picture the X server holds: each frame reads from it only the part it draws again.
    void setServerPicture(std::shared_ptr<ServerPicture> picture);

    // Shared with the node that draws it; the node may outlive the item.
    class Source;

signals:
    void pictureChanged();

protected:
    QSGNode *updatePaintNode(QSGNode *oldNode, UpdatePaintNodeData *) override;

private:
    void showNewPicture();

    std::shared_ptr<Source> m_source;
    bool m_textureOutdated = true;
};
