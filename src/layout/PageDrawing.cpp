#include "PageDrawing.h"

#include <QDataStream>
#include <QFont>
#include <QIODevice>
#include <QPainter>

namespace {

// The form of the bytes; a store reads only its own.
constexpr quint8 Version = 1;
constexpr quint8 BoxKind = 1;
constexpr quint8 FlowKind = 2;
constexpr QDataStream::Version StreamVersion = QDataStream::Qt_6_4;

// Fonts are written once per page and named by their index.
class FontTable
{
public:
    quint16 indexOf(const QFont &font)
    {
        const qsizetype at = m_fonts.indexOf(font);
        if (at >= 0)
            return quint16(at);
        m_fonts.append(font);
        return quint16(m_fonts.size() - 1);
    }
    const QList<QFont> &fonts() const { return m_fonts; }

private:
    QList<QFont> m_fonts;
};

void writeColor(QDataStream &out, const QColor &color)
{
    out << quint32(color.rgba());
}

QColor readColor(QDataStream &in)
{
    quint32 rgba = 0;
    in >> rgba;
    return QColor::fromRgba(rgba);
}

quint8 lineStyles(const TLRItem::Look &look)
{
    return quint8(int(look.lineTop) | int(look.lineLeft) << 2 | int(look.lineRight) << 4
                  | int(look.lineBottom) << 6);
}

} // namespace

void PageDrawing::addBox(const QRect &rect, const TLRItem::Look &look, bool linesOnly)
{
    m_items.push_back(Box {rect, look, linesOnly});
}

void PageDrawing::addFlow(const QRect &rect, const TLRVariableText::Look &look)
{
    m_items.push_back(Flow {rect, look});
}

void PageDrawing::play(QPainter &painter, double scale) const
{
    for (const auto &item : m_items) {
        if (const Box *box = std::get_if<Box>(&item))
            TLRItem::paint(painter, box->look, box->rect, scale, box->linesOnly);
        else if (const Flow *flow = std::get_if<Flow>(&item))
            TLRVariableText::paint(painter, flow->look, flow->rect, scale);
    }
}

QByteArray PageDrawing::toBytes() const
{
    FontTable fonts;
    QByteArray body;
    {
        QDataStream out(&body, QIODevice::WriteOnly);
        out.setVersion(StreamVersion);
        out << quint32(m_items.size());
        for (const auto &item : m_items) {
            if (const Box *box = std::get_if<Box>(&item)) {
                const TLRItem::Look &l = box->look;
                out << BoxKind << box->rect << l.text << fonts.indexOf(l.font)
                    << quint8(l.alignment) << quint8(l.layout) << qint16(l.hMargin)
                    << qint16(l.vMargin)
                    << quint8(l.wordWrap | l.shrinkToFit << 1 | l.transparent << 2
                              | box->linesOnly << 3)
                    << lineStyles(l);
                writeColor(out, l.fontColor);
                writeColor(out, l.color);
                writeColor(out, l.lineColor);
            } else if (const Flow *flow = std::get_if<Flow>(&item)) {
                const TLRVariableText::Look &l = flow->look;
                out << FlowKind << flow->rect << l.text << fonts.indexOf(l.font)
                    << quint8(l.wordWrap | l.transparent << 1) << qint16(l.charSpace)
                    << qint16(l.wordSpace) << qint16(l.leading);
                writeColor(out, l.color);
                writeColor(out, l.fontColor);
            }
        }
    }
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(StreamVersion);
    out << Version << m_pageSize << fonts.fonts();
    out.writeRawData(body.constData(), int(body.size()));
    return qCompress(bytes);
}

bool PageDrawing::fromBytes(const QByteArray &bytes, PageDrawing &drawing)
{
    const QByteArray raw = qUncompress(bytes);
    if (raw.isEmpty())
        return false;
    QDataStream in(raw);
    in.setVersion(StreamVersion);
    quint8 version = 0;
    QList<QFont> fonts;
    PageDrawing read;
    quint32 count = 0;
    in >> version;
    if (version != Version)
        return false;
    in >> read.m_pageSize >> fonts >> count;
    const auto font = [&](quint16 index) {
        if (index >= fonts.size()) {
            in.setStatus(QDataStream::ReadCorruptData);
            return QFont();
        }
        return fonts[index];
    };
    for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        quint8 kind = 0;
        QRect rect;
        QString text;
        quint16 fontIndex = 0;
        in >> kind >> rect >> text >> fontIndex;
        if (kind == BoxKind) {
            TLRItem::Look l;
            l.text = text;
            l.font = font(fontIndex);
            quint8 alignment = 0, layout = 0, flags = 0, lines = 0;
            qint16 hMargin = 0, vMargin = 0;
            in >> alignment >> layout >> hMargin >> vMargin >> flags >> lines;
            if (alignment > quint8(TAlignment::taCenter) || layout > quint8(TTextLayout::tlBottom))
                return false;
            l.alignment = TAlignment(alignment);
            l.layout = TTextLayout(layout);
            l.hMargin = hMargin;
            l.vMargin = vMargin;
            l.wordWrap = flags & 1;
            l.shrinkToFit = flags & 2;
            l.transparent = flags & 4;
            l.lineTop = TLineStyle(lines & 3);
            l.lineLeft = TLineStyle(lines >> 2 & 3);
            l.lineRight = TLineStyle(lines >> 4 & 3);
            l.lineBottom = TLineStyle(lines >> 6 & 3);
            l.fontColor = readColor(in);
            l.color = readColor(in);
            l.lineColor = readColor(in);
            read.addBox(rect, l, flags & 8);
        } else if (kind == FlowKind) {
            TLRVariableText::Look l;
            l.text = text;
            l.font = font(fontIndex);
            quint8 flags = 0;
            qint16 charSpace = 0, wordSpace = 0, leading = 0;
            in >> flags >> charSpace >> wordSpace >> leading;
            l.wordWrap = flags & 1;
            l.transparent = flags & 2;
            l.charSpace = charSpace;
            l.wordSpace = wordSpace;
            l.leading = leading;
            l.color = readColor(in);
            l.fontColor = readColor(in);
            read.addFlow(rect, l);
        } else {
            return false;
        }
    }
    if (in.status() != QDataStream::Ok || !in.atEnd())
        return false;
    drawing = std::move(read);
    return true;
}
