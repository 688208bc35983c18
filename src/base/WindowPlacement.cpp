#include "WindowPlacement.h"

#include "IniFile.h"

#include <climits>

namespace {

const QString KeyLeft = QStringLiteral("Left");
const QString KeyTop = QStringLiteral("Top");
const QString KeyWidth = QStringLiteral("Width");
const QString KeyHeight = QStringLiteral("Height");
const QString KeyState = QStringLiteral("WindowState");

// A remembered width or height as a rectangle at origin can hold it: QRect
// computes its last coordinate as origin + length, less 1, in ints. Only
// lengths near the ends of the int range (a damaged file) are brought in.
int fittingLength(int origin, int length)
{
    const qint64 low = qMax<qint64>(qint64(INT_MIN) + 1, qint64(INT_MIN) + 1 - origin);
    const qint64 high = qMin<qint64>(INT_MAX, qint64(INT_MAX) - origin);
    return int(qBound<qint64>(low, length, high));
}

} // namespace

QString WindowPlacement::stateText(State state)
{
    switch (state) {
    case State::Minimized:
        return QStringLiteral("wsMinimized");
    case State::Maximized:
        return QStringLiteral("wsMaximized");
    case State::Normal:
        break;
    }
    return QStringLiteral("wsNormal");
}

std::optional<WindowPlacement::State> WindowPlacement::stateFromText(const QString &text)
{
    for (State state : {State::Normal, State::Minimized, State::Maximized}) {
        if (text == stateText(state))
            return state;
    }
    return std::nullopt;
}

WindowPlacement::Restored WindowPlacement::restore(const IniFile &ini, const QSize &screenSize,
                                                   bool resizable)
{
    Restored result;

    // A left or top edge beyond the screen puts the window at the edge; a
    // negative one (a second monitor on the left) is kept.
    // One further left or up than a screen's size is on no screen.
    const int left = qMax(ini.readInteger(m_section, KeyLeft, 0), -qMax(screenSize.width(), 0));
    const int top = qMax(ini.readInteger(m_section, KeyTop, 0), -qMax(screenSize.height(), 0));
    result.topLeft
        = QPoint(left < screenSize.width() ? left : 0, top < screenSize.height() ? top : 0);

    // Only a resizable window takes the saved size; a fixed dialog keeps its
    // designed one. The remembered size is what was read either way, so a
    // window closed while still maximized writes it back unchanged.
    const int width = ini.readInteger(m_section, KeyWidth, 0);
    const int height = ini.readInteger(m_section, KeyHeight, 0);
    // No window is made larger than the screen (a damaged file could ask
    // for a window of gigabytes).
    const int maxWidth = screenSize.width() > 0 ? screenSize.width() : INT_MAX;
    const int maxHeight = screenSize.height() > 0 ? screenSize.height() : INT_MAX;
    result.size
        = resizable ? QSize(qBound(0, width, maxWidth), qBound(0, height, maxHeight)) : QSize(0, 0);
    m_bounds = QRect(
        result.topLeft,
        QSize(fittingLength(result.topLeft.x(), width), fittingLength(result.topLeft.y(), height)));

    if (const auto state
        = stateFromText(ini.readString(m_section, KeyState, stateText(State::Normal)))) {
        result.stateGiven = true;
        result.state = *state;
    }
    return result;
}

void WindowPlacement::save(IniFile &ini, const QRect &currentBounds, State currentState)
{
    if (currentState != State::Maximized)
        m_bounds = currentBounds;
    ini.writeInteger(m_section, KeyLeft, m_bounds.x());
    ini.writeInteger(m_section, KeyTop, m_bounds.y());
    ini.writeInteger(m_section, KeyWidth, m_bounds.width());
    ini.writeInteger(m_section, KeyHeight, m_bounds.height());
    ini.writeString(m_section, KeyState, stateText(currentState));
}
