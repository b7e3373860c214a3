// A DrawingObjects that hands out distinct fake handles and records every
// make and release, so tests can check what was made, in which order, and
// that everything made was released exactly once.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "quiz/drawing_objects.h"

namespace kelvo::testing {

class FakeDrawingObjects : public DrawingObjects {
public:
    struct Made {
        std::string kind;           // "font" or "brush"
        FontDescription font;       // fonts
        std::uint32_t color = 0;    // brushes
    };

    DrawingHandle makeFont(const FontDescription& font) override {
        return record(Made{"font", font, 0});
    }
    DrawingHandle makeSolidBrush(std::uint32_t color) override {
        return record(Made{"brush", {}, color});
    }
    void release(DrawingHandle object) override {
        released.push_back(object);
        ++releaseCount[object];
    }

    const Made& made(DrawingHandle handle) const { return objects.at(handle); }
    int liveCount() const {
        int live = 0;
        for (const auto& [handle, _] : objects) live += releaseCount.count(handle) == 0 ? 1 : 0;
        return live;
    }
    bool releasedTwice() const {
        for (const auto& [_, count] : releaseCount)
            if (count > 1) return true;
        return false;
    }

    std::vector<DrawingHandle> createdInOrder;
    std::vector<DrawingHandle> released;

private:
    DrawingHandle record(const Made& made) {
        auto handle = reinterpret_cast<DrawingHandle>(static_cast<std::uintptr_t>(0x1000 + objects.size()));
        objects[handle] = made;
        createdInOrder.push_back(handle);
        return handle;
    }

    std::map<DrawingHandle, Made> objects;
    std::map<DrawingHandle, int> releaseCount;
};

}  // namespace kelvo::testing
