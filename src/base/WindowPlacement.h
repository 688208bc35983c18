#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

class IniFile;

// Window placement kept in a window's own section of the settings file
// (named after the window's internal name): Left, Top, Width, Height and
// WindowState. The logic here is free of widgets; TForm1 applies it.
class WindowPlacement
{
public:
    enum class State { Normal, Minimized, Maximized };

    explicit WindowPlacement(const QString &section) : m_section(section) { }

    struct Restored
    {
        QPoint topLeft;
        QSize size; // width/height to apply; a 0 keeps the designed one
        bool stateGiven = false;
        State state = State::Normal;
    };

    // Reads the section. Left/Top beyond the screen become 0; the size is
    // applied only for resizable windows.
    Restored restore(const IniFile &ini, const QSize &screenSize, bool resizable);

    // Called when the user restores the window from maximized or minimized.
    void rememberBounds(const QRect &bounds) { m_bounds = bounds; }

    // Writes the section: unless maximized, the current bounds become the
    // remembered ones first. Only the IniFile changes; the caller writes the
    // file out with updateFile().
    void save(IniFile &ini, const QRect &currentBounds, State currentState);

    QRect rememberedBounds() const { return m_bounds; }
    QString section() const { return m_section; }

    static QString stateText(State state);
    // The state a text names; none for any other text.
    static std::optional<State> stateFromText(const QString &text);

private:
    QString m_section;
    QRect m_bounds;
};
