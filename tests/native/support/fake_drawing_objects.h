// A DrawingObjects that hands out distinct fake handles and records the
// colour of every brush made and every release in order, so tests can check
// what was made and that everything was released exactly once.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <vector>

#include "quiz/drawing_objects.h"

namespace kelvo::testing {

class FakeDrawingObjects : public DrawingObjects {
public:
    DrawingHandle makeFont(const FontDescription&) override { return record(0); }
    DrawingHandle makeSolidBrush(std::uint32_t color) override { return record(color); }
    void release(DrawingHandle object) override { released.push_back(object); }

    std::uint32_t colorOf(DrawingHandle brush) const { return colors.at(brush); }
    bool releasedTwice() const {
        return std::set<DrawingHandle>(released.begin(), released.end()).size() != released.size();
    }

    std::vector<DrawingHandle> released;

private:
    DrawingHandle record(std::uint32_t color) {
        auto handle = reinterpret_cast<DrawingHandle>(static_cast<std::uintptr_t>(0x1000 + colors.size()));
        colors[handle] = color;
        return handle;
    }

    std::map<DrawingHandle, std::uint32_t> colors;
};

}  // namespace kelvo::testing
