#include "TextMeasure.h"

#include <QCoreApplication>
#include <QThread>
#include <memory>
#include <unordered_map>

namespace {

using Measures = std::unordered_map<std::string, std::unique_ptr<TextMeasure>>;

// Raw fonts belong to their thread.
Measures &measures()
{
    thread_local Measures map;
    return map;
}

} // namespace

TextMeasure &TextMeasure::of(const QFont &font)
{
    Measures &map = measures();
    if (map.empty() && QCoreApplication::instance()
        && QThread::currentThread() == QCoreApplication::instance()->thread()) {
        // The main thread's fonts go with the application, before the font
        // database does.
        static bool registered = false;
        if (!registered) {
            registered = true;
            qAddPostRoutine([] { measures().clear(); });
        }
    }
    const std::string key = (font.key() + u'/' + QString::number(font.pixelSize())).toStdString();
    auto it = map.find(key);
    if (it == map.end())
        it = map.emplace(key, std::make_unique<TextMeasure>(font)).first;
    return *it->second;
}

TextMeasure::TextMeasure(const QFont &font) : m_raw(QRawFont::fromFont(font)) { }

double TextMeasure::width(const QString &character)
{
    auto it = m_widths.constFind(character);
    if (it != m_widths.constEnd())
        return *it;
    double width = 0;
    const QList<quint32> glyphs = m_raw.glyphIndexesForString(character);
    for (const QPointF &advance : m_raw.advancesForGlyphIndexes(glyphs, QRawFont::UseDesignMetrics))
        width += advance.x();
    m_widths.insert(character, width);
    return width;
}
