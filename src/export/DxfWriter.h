#pragma once

#include "store/OutputFile.h"

#include <QString>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarmela
{

// Writes one DXF drawing: the header template's bytes, then an entities section with LINE and
// TEXT entities, then the end of file.
//
// Every group code and every value is a line of its own ended by CR LF; a number has a blank in
// front when it is not negative and a blank after it (" 8 ", " 1.5 ", "-2 "), with a point as
// decimal separator in every locale.
//
// The output goes through a large buffer to an OutputFile, so a drawing of many megabytes
// writes at the speed of the disk. finish() puts the complete file in place of the target; a
// writer destroyed before that (an error on the way) leaves the target as it was. Every
// failure throws Error(Io) with the file's name and the system's reason.
// The box the drawing covers, written into the header's $EXTMIN and $EXTMAX.
struct DxfExtents {
    float xmin = 0, ymin = 0, xmax = 0, ymax = 0;
};

class DxfWriter
{
public:
    DxfWriter(const QString& templatePath, const QString& target,
              std::optional<DxfExtents> extents = std::nullopt);
    ~DxfWriter();
    DxfWriter(const DxfWriter&) = delete;
    DxfWriter& operator=(const DxfWriter&) = delete;

    // The layer (group 8) of the entities that follow, and the height (group 40) of the texts.
    void setLayer(std::string_view layer);
    const std::string& layer() const { return m_layers[m_layer].name; }
    void setTextHeight(float height);

    void DxfLine(float x1, float y1, float x2, float y2);
    // With an alignment (1 centre, 2 right, 4 middle) the text is placed at (ax, ay); x, y are
    // still written as given. rotated turns it 90 degrees to read upwards.
    void DxfText(float x, float y, std::string_view text, bool rotated = false,
                 std::uint8_t alignment = 0, float ax = 0, float ay = 0);
    void DxfText(float x, float y, const QString& text, bool rotated = false,
                 std::uint8_t alignment = 0, float ax = 0, float ay = 0);
    // An open 2D polyline through the points (POLYLINE, its VERTEX entities and SEQEND, all on
    // the current layer): a profile or outline that a drafter picks as one object. Fewer than
    // two points write nothing.
    struct Point {
        float x = 0, y = 0;
    };
    void DxfPolyline(const std::vector<Point>& points);
    // The four sides: (x1,y1)-(x2,y1), (x1,y1)-(x1,y2), (x2,y1)-(x2,y2), (x1,y2)-(x2,y2).
    void DxfBox(float x1, float y1, float x2, float y2);
    // Vertical lines from x1 every stepX while x <= x2 + 0.02 (the tolerance keeps the last line
    // that float steps fall just short of), then horizontal lines from y1 down every stepY
    // while y >= y2. A step that is not positive draws no lines in its direction.
    void DxfGrid(float x1, float y1, float x2, float y2, float stepX, float stepY);

    // Ends the entities section and the file and replaces the target with it.
    void finish();

    // Bytes written so far, the template included.
    std::int64_t size() const
    {
        return m_written + static_cast<std::int64_t>(m_pos - m_buffer.get());
    }

private:
    void reserve(std::size_t bytes);
    void flush();
    void put(std::string_view s);
    // Fixed lines: the size is known when compiling, so the copy is a few moves.
    template <std::size_t N> void put(const char (&s)[N])
    {
        std::memcpy(m_pos, s, N - 1);
        m_pos += N - 1;
    }
    void putNumber(float value);
    void putText(std::string_view text);

    OutputFile m_file;
    std::unique_ptr<char[]> m_buffer;
    char* m_pos = nullptr;
    char* m_end = nullptr;
    std::int64_t m_written = 0;

    // The fixed lines that open a LINE and a TEXT on each layer used so far (drawings switch
    // layers many times per section).
    struct Layer {
        std::string name;
        std::string lineHead; // " 0 ", "LINE", " 8 ", name, " 10 "
        std::string textHead; // the same for TEXT
        std::string polylineHead, vertexHead, sequenceEnd;
    };
    std::vector<Layer> m_layers;
    std::size_t m_layer = 0;
    std::string m_heightLines; // " 40 " and the height

    // The numbers written last, by their bits: a drawing repeats most of its coordinates (a
    // band's heights for every reading, a point's x in its tick, its line and the next line).
    struct CachedNumber {
        std::uint32_t bits = 0xffffffffu; // a not-a-number that is never looked up
        std::uint32_t length = 0;
        char text[24];
    };
    std::unique_ptr<CachedNumber[]> m_numbers;
};

// Joins line segments given in drawing order into polylines on the writer's current layer: a
// segment that starts where the polyline being built ends continues it, one that starts where
// it starts extends it the other way (a ground line drawn out from the centre to each side is
// one polyline); any other segment writes the polyline built so far and starts the next.
// end() writes the last one; call it before changing the layer.
class DxfPath
{
public:
    explicit DxfPath(DxfWriter& out) : m_out(out) {}
    void segment(float x1, float y1, float x2, float y2);
    void end();

private:
    DxfWriter& m_out;
    std::vector<DxfWriter::Point> m_points;
};

} // namespace tarmela
