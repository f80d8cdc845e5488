#include "export/DxfWriter.h"

#include "export/DxfNumbers.h"
#include "store/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <cstring>

namespace tarmela
{

namespace
{

constexpr std::size_t kBufferSize = 1 << 20;
// Numbers remembered by the writer: 2^kNumberCacheBits.
constexpr int kNumberCacheBits = 10;
// Room for any entity but its text.
constexpr std::size_t kEntityRoom = 1024;

constexpr std::string_view kEol = "\r\n";
constexpr std::string_view kEntitiesStart = " 0 \r\nSECTION\r\n 2 \r\nENTITIES\r\n";
constexpr std::string_view kEnd = " 0 \r\nENDSEC\r\n 0 \r\nEOF\r\n";

// The header with the values of $EXTMIN and $EXTMAX (groups 10 and 20 after each name) set.
QByteArray withExtents(const QByteArray& head, const DxfExtents& e)
{
    QList<QByteArray> lines = head.split('\n');
    auto number = [](float v) {
        char digits[dxf::kNumberBufferSize];
        return QByteArray(digits, dxf::formatSingle(v, digits)) + '\r';
    };
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray name = lines[i].trimmed();
        if (name != "$EXTMIN" && name != "$EXTMAX")
            continue;
        const bool min = name == "$EXTMIN";
        // The pairs that follow, up to the next variable.
        for (int j = i + 1; j + 1 < lines.size() && lines[j].trimmed() != "9"; j += 2) {
            const QByteArray code = lines[j].trimmed();
            if (code == "10")
                lines[j + 1] = number(min ? e.xmin : e.xmax);
            else if (code == "20")
                lines[j + 1] = number(min ? e.ymin : e.ymax);
        }
    }
    return lines.join('\n');
}

} // namespace

DxfWriter::DxfWriter(const QString& templatePath, const QString& target,
                     std::optional<DxfExtents> extents)
    : m_file(target), m_buffer(new char[kBufferSize]),
      m_numbers(new CachedNumber[std::size_t(1) << kNumberCacheBits])
{
    m_pos = m_buffer.get();
    m_end = m_pos + kBufferSize;

    QFile header(templatePath);
    if (!header.open(QIODevice::ReadOnly))
        throw Error(ErrorKind::Io, QStringLiteral("The drawing template %1 could not be read: %2")
                                       .arg(shownPath(templatePath), header.errorString()));
    QByteArray head = header.readAll();
    if (header.error() != QFileDevice::NoError)
        throw Error(ErrorKind::Io, QStringLiteral("The drawing template %1 could not be read: %2")
                                       .arg(shownPath(templatePath), header.errorString()));

    if (extents)
        head = withExtents(head, *extents);
    m_file.put(head);
    m_written = head.size();
    // The entities must start on a line of their own even if the template's last line has no end.
    if (!head.isEmpty() && !head.endsWith('\n'))
        put(kEol);
    put(kEntitiesStart);
    setLayer("0");
    setTextHeight(0.15f);
}

DxfWriter::~DxfWriter() = default;

void DxfWriter::flush()
{
    const auto n = static_cast<qint64>(m_pos - m_buffer.get());
    if (n == 0)
        return;
    m_file.put(m_buffer.get(), n);
    m_written += n;
    m_pos = m_buffer.get();
}

void DxfWriter::reserve(std::size_t bytes)
{
    if (static_cast<std::size_t>(m_end - m_pos) < bytes) {
        flush();
        if (bytes > kBufferSize) {
            // Only a giant text gets here: give it a buffer of its own size.
            m_buffer.reset(new char[bytes]);
            m_pos = m_buffer.get();
            m_end = m_pos + bytes;
        }
    }
}

void DxfWriter::put(std::string_view s)
{
    std::memcpy(m_pos, s.data(), s.size());
    m_pos += s.size();
}

void DxfWriter::putNumber(float value)
{
    if (!std::isfinite(value)) // written as 0; keeps the cache's empty mark unused
        value = 0;
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    CachedNumber& c = m_numbers[(bits * 0x9E3779B1u) >> (32 - kNumberCacheBits)];
    if (c.bits != bits) {
        // The line as it is written: only a negative value has a sign (minus zero is "0").
        char line[dxf::kNumberBufferSize + 4];
        char* p = line;
        if (!(value < 0))
            *p++ = ' ';
        p += dxf::formatSingle(value, p);
        std::memcpy(p, " \r\n", 3);
        p += 3;
        const auto n = static_cast<std::size_t>(p - line);
        if (n > sizeof c.text) { // a far-out value: written, not kept
            std::memcpy(m_pos, line, n);
            m_pos += n;
            return;
        }
        std::memcpy(c.text, line, n);
        c.length = static_cast<std::uint32_t>(n);
        c.bits = bits;
    }
    std::memcpy(m_pos, c.text, sizeof c.text); // the room is reserved; a fixed copy is quicker
    m_pos += c.length;
}

void DxfWriter::putText(std::string_view text)
{
    // A line break inside a value would end it early and break the file.
    char* start = m_pos;
    put(std::string_view(text));
    for (char* p = start; p < m_pos; ++p)
        if (*p == '\r' || *p == '\n')
            *p = ' ';
    put(kEol);
}

void DxfWriter::setLayer(std::string_view layer)
{
    if (m_layer < m_layers.size() && m_layers[m_layer].name == layer)
        return;
    for (std::size_t i = 0; i < m_layers.size(); ++i) {
        if (m_layers[i].name == layer) {
            m_layer = i;
            return;
        }
    }
    Layer l;
    l.name.assign(layer);
    l.lineHead = " 0 \r\nLINE\r\n 8 \r\n" + l.name + "\r\n 10 \r\n";
    l.textHead = " 0 \r\nTEXT\r\n 8 \r\n" + l.name + "\r\n 10 \r\n";
    // Group 66 says vertices follow; 70 0 is an open polyline.
    l.polylineHead = " 0 \r\nPOLYLINE\r\n 8 \r\n" + l.name + "\r\n 66 \r\n 1 \r\n 70 \r\n 0 \r\n";
    l.vertexHead = " 0 \r\nVERTEX\r\n 8 \r\n" + l.name + "\r\n 10 \r\n";
    l.sequenceEnd = " 0 \r\nSEQEND\r\n 8 \r\n" + l.name + "\r\n";
    m_layers.push_back(std::move(l));
    m_layer = m_layers.size() - 1;
}

void DxfWriter::setTextHeight(float height)
{
    const dxf::NumberText t = dxf::single(height);
    m_heightLines = " 40 \r\n";
    if (t.text[0] != '-')
        m_heightLines += ' ';
    m_heightLines.append(t.view());
    m_heightLines += " \r\n";
}

void DxfWriter::DxfLine(float x1, float y1, float x2, float y2)
{
    const std::string& head = m_layers[m_layer].lineHead;
    reserve(kEntityRoom + head.size());
    put(head);
    putNumber(x1);
    put(" 20 \r\n");
    putNumber(y1);
    put(" 30 \r\n 0 \r\n 11 \r\n");
    putNumber(x2);
    put(" 21 \r\n");
    putNumber(y2);
    put(" 31 \r\n 0 \r\n");
}

void DxfWriter::DxfPolyline(const std::vector<Point>& points)
{
    if (points.size() < 2)
        return;
    const Layer& l = m_layers[m_layer];
    reserve(l.polylineHead.size());
    put(l.polylineHead);
    for (const Point& p : points) {
        reserve(kEntityRoom + l.vertexHead.size());
        put(l.vertexHead);
        putNumber(p.x);
        put(" 20 \r\n");
        putNumber(p.y);
        put(" 30 \r\n 0 \r\n");
    }
    reserve(l.sequenceEnd.size());
    put(l.sequenceEnd);
}

void DxfWriter::DxfText(float x, float y, std::string_view text, bool rotated,
                        std::uint8_t alignment, float ax, float ay)
{
    const std::string& head = m_layers[m_layer].textHead;
    reserve(kEntityRoom + head.size() + text.size());
    put(head);
    putNumber(x);
    put(" 20 \r\n");
    putNumber(y);
    put(" 30 \r\n 0 \r\n");
    put(m_heightLines);
    put(" 1 \r\n");
    putText(text);
    if (rotated)
        put(" 50 \r\n 90 \r\n");
    if (alignment > 0) {
        put(" 72 \r\n ");
        char digits[4];
        const int n = dxf::formatSingle(alignment, digits);
        put(std::string_view(digits, static_cast<std::size_t>(n)));
        put(" \r\n 11 \r\n");
        putNumber(ax);
        put(" 21 \r\n");
        putNumber(ay);
        put(" 31 \r\n 0 \r\n");
    }
}

void DxfWriter::DxfText(float x, float y, const QString& text, bool rotated, std::uint8_t alignment,
                        float ax, float ay)
{
    const QByteArray bytes = text.toLatin1();
    DxfText(x, y, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
            rotated, alignment, ax, ay);
}

void DxfWriter::DxfBox(float x1, float y1, float x2, float y2)
{
    DxfLine(x1, y1, x2, y1);
    DxfLine(x1, y1, x1, y2);
    DxfLine(x2, y1, x2, y2);
    DxfLine(x1, y2, x2, y2);
}

void DxfWriter::DxfGrid(float x1, float y1, float x2, float y2, float stepX, float stepY)
{
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2))
        return;
    // Positions are x1 + i * step rather than a running sum, so that far sheets do not drift.
    if (stepX > 0 && std::isfinite(stepX)) {
        const float bound = x2 + 0.02f;
        for (std::int64_t i = 0;; ++i) {
            const double x = double(x1) + double(i) * double(stepX);
            if (x > double(bound))
                break;
            DxfLine(float(x), y1, float(x), y2);
        }
    }
    if (stepY > 0 && std::isfinite(stepY)) {
        for (std::int64_t i = 0;; ++i) {
            const double y = double(y1) - double(i) * double(stepY);
            if (y < double(y2) - 1e-4) // a float's rounding keeps the last line
                break;
            DxfLine(x1, float(y), x2, float(y));
        }
    }
}

void DxfWriter::finish()
{
    reserve(kEnd.size());
    put(kEnd);
    flush();
    m_file.commit();
}

void DxfPath::segment(float x1, float y1, float x2, float y2)
{
    if (!m_points.empty()) {
        const DxfWriter::Point& last = m_points.back();
        const DxfWriter::Point& first = m_points.front();
        if (last.x == x1 && last.y == y1) {
            m_points.push_back({x2, y2});
            return;
        }
        if (first.x == x1 && first.y == y1) {
            m_points.insert(m_points.begin(), {x2, y2});
            return;
        }
        end();
    }
    m_points = {{x1, y1}, {x2, y2}};
}

void DxfPath::end()
{
    m_out.DxfPolyline(m_points);
    m_points.clear();
}

} // namespace tarmela
