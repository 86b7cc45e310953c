// Helpers of the plot tests: reading records from text, and a canvas that records the calls made
// on it.
#pragma once

#include "plot/Canvas.h"
#include "plot/Reader.h"
#include "plot/Records.h"
#include "text/Failure.h"

#include <string>
#include <vector>

namespace zelkova::plot::testing {

// A reader on `bytes` (no start marker search).
inline Reader readerOf(std::string bytes) {
    return Reader(Lexer(std::move(bytes)));
}

// Every record of `bytes`, to the end; stops (and records the failure text) at the first failure.
struct ReadResult {
    std::vector<Record> records;
    std::string failure;
};
inline ReadResult readAll(std::string bytes) {
    Reader reader = readerOf(std::move(bytes));
    ReadResult result;
    try {
        while (auto record = reader.next())
            result.records.push_back(*record);
    } catch (const text::Failure& failure) {
        result.failure = failure.what();
    }
    return result;
}

// One call made on a canvas.
struct CanvasCall {
    enum class Kind { Line, Polyline, Polygon } kind;
    Pen pen;
    Brush brush;
    std::vector<Point> points;
};

class CallRecorder final : public Canvas {
public:
    void setPen(const Pen& pen) override { m_pen = pen; }
    void setBrush(const Brush& brush) override { m_brush = brush; }
    void line(Point from, Point to) override {
        calls.push_back({CanvasCall::Kind::Line, m_pen, m_brush, {from, to}});
    }
    void polyline(std::span<const Point> points) override {
        calls.push_back({CanvasCall::Kind::Polyline, m_pen, m_brush, {points.begin(), points.end()}});
    }
    void polygon(std::span<const Point> points) override {
        calls.push_back({CanvasCall::Kind::Polygon, m_pen, m_brush, {points.begin(), points.end()}});
    }
    void text(const TextOp& op) override { texts.push_back(op); }
    void image(const ImageOp& op) override { images.push_back(op); }
    std::vector<CanvasCall> calls;
    std::vector<TextOp> texts;
    std::vector<ImageOp> images;

private:
    Pen m_pen;
    Brush m_brush;
};

} // namespace zelkova::plot::testing
