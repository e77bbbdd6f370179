#pragma once
// The area within a distance of a set of lines, worked out one rectangle at a time instead of
// merged as a whole. Nothing outside a rectangle grown by the distance comes within the
// distance of the rectangle, so for each rectangle only the lines in the grown one are clipped
// to it, buffered together (8 segments per quarter circle) and the buffer cut back to the
// rectangle. Geographic lines are buffered in a local metric projection, the distance in metres.

#include <memory>
#include <vector>

#include "engine/rectangle.h"
#include "engine/shape.h"

namespace engine {

class ExtentIndex;
class GeoDataset;
class LocalProjection;

class LineBuffers {
public:
    // The given records of a line dataset, which the buffers keep open.
    LineBuffers(std::shared_ptr<const GeoDataset> lines, std::vector<int> records,
                double distance);
    ~LineBuffers();
    LineBuffers(const LineBuffers&) = delete;
    LineBuffers& operator=(const LineBuffers&) = delete;

    // Cuts the buffers on one thread. It holds that thread's coordinate transformations: make
    // one on each thread that cuts, and destroy it there. Throws EngineError.
    class Cutter {
    public:
        explicit Cutter(const LineBuffers& buffers);
        ~Cutter();
        Cutter(Cutter&&) noexcept;
        // The buffers' part inside r as one polygon; nothing when no line comes near enough.
        // Throws EngineError.
        Shape within(const Rectangle& r) const;

    private:
        const LineBuffers* buffers_;
        std::unique_ptr<LocalProjection> projection_;
    };

private:
    std::shared_ptr<const GeoDataset> lines_;
    std::vector<int> records_;
    double distance_;
    std::unique_ptr<ExtentIndex> index_;
};

}  // namespace engine
