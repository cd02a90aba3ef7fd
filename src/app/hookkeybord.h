#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

class QxtGlobalShortcut;

// The global hotkey manager: turns the three hotkey texts of the settings into
// system-wide shortcuts, one per enabled capture kind. Each kind reports its hotkey
// through its own signal, which the controller ties to its capture slot.
class HookKeybord : public QObject
{
    Q_OBJECT
public:
    enum HookType {
        HookFragment = 0,
        HookQuickFragment = 1,
        HookFullScreen = 2,
    };
    Q_ENUM(HookType)

    explicit HookKeybord(QObject *parent = nullptr);
    // Releases every grab. The application keeps its manager until exit; tests do not.
    ~HookKeybord() override;

    // The one manager of the process, created by the controller on first need.
    static HookKeybord *m_instance;

    // Reads "⇧" as "Shift", "⌘" as "Ctrl" and "Print Screen" as "Print".
    static QString normalizedKeyText(const QString &text);

    // The normalised text last read for the kind.
    QString keyText(HookType type) const;
    // The live shortcut of the kind, or null while the kind is not armed.
    QxtGlobalShortcut *shortcut(HookType type) const;
    // The texts of the hotkeys whose keys could not be grabbed when last armed, in kind order.
    QStringList unregisteredKeys() const { return m_unregisteredKeys; }

public slots:
    // Releases every shortcut and registers the enabled kinds afresh from the settings.
    void updateHootKey();
    // Releases every shortcut; the texts stay.
    void stopHook();
    // Creates, wires and grabs the shortcut of one kind, replacing the kind's old one.
    void registerKey(QString key, HookKeybord::HookType type);

signals:
    void fragmentScreenActivated();
    void quickScreenActivated();
    void fullScreenActivated();

private:
    void releaseShortcuts();
    void connectActivation(QxtGlobalShortcut *shortcut, HookType type);

    QString m_keyFragmentScreen;
    QString m_keyQuickFragmentScreen;
    QString m_keySnapshotScreen;
    QHash<HookType, QxtGlobalShortcut *> m_shortcuts;
    QStringList m_unregisteredKeys;
};
