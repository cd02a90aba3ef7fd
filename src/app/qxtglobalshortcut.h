#pragma once

#include <QKeySequence>
#include <QObject>

class QxtGlobalShortcutPrivate;

// A system-wide keyboard shortcut: one key combination grabbed on the X root window.
// `activated()` is emitted when the combination is pressed, whichever window has the
// focus, as long as the shortcut is enabled. Works on Qt's XCB platform only.
class QxtGlobalShortcut : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool enabled READ isEnabled WRITE setEnabled)
    Q_PROPERTY(QKeySequence shortcut READ shortcut WRITE setShortcut)

public:
    explicit QxtGlobalShortcut(QObject *parent = nullptr);
    ~QxtGlobalShortcut() override;

    QKeySequence shortcut() const;
    // Grabs the first key combination of the sequence (releasing the previous one first).
    // Returns false, with a warning, when nothing could be grabbed.
    bool setShortcut(const QKeySequence &shortcut);

    bool isEnabled() const;

public slots:
    void setEnabled(bool enabled = true);
    void setDisabled(bool disabled = true);

signals:
    void activated();

private:
    friend class QxtGlobalShortcutPrivate;
    QxtGlobalShortcutPrivate *d;
};
