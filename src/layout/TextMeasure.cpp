#include "TextMeasure.h"

#include <QCoreApplication>
#include <QThread>
#include <memory>
#include <utility>
#include <vector>

namespace {

// The measures of a thread (raw fonts belong to their thread). A report
// uses a handful of fonts, and copies of one font compare fast.
struct Measures
{
    std::vector<std::pair<QFont, std::unique_ptr<TextMeasure>>> fonts;

    void clear() { fonts.clear(); }
};

Measures &measures()
{
    thread_local Measures cache;
    return cache;
}

} // namespace

TextMeasure &TextMeasure::of(const QFont &font)
{
    Measures &cache = measures();
    for (const auto &[known, measure] : cache.fonts) {
        if (known == font && known.pixelSize() == font.pixelSize())
            return *measure;
    }
    if (cache.fonts.empty() && QCoreApplication::instance()
        && QThread::currentThread() == QCoreApplication::instance()->thread()) {
        // The main thread's fonts go with the application, before the font
        // database does.
        static bool registered = false;
        if (!registered) {
            registered = true;
            qAddPostRoutine([] { measures().clear(); });
        }
    }
    cache.fonts.emplace_back(font, std::make_unique<TextMeasure>(font));
    return *cache.fonts.back().second;
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
