#pragma once

// Lays the text of one paragraph into a scratch tree of nested elements that
// follow the formatting changes, and moves that paragraph into the output
// tree at its paragraph mark or cell end.
//
// The scratch tree is: scratch root > "parent" (the paragraph wrapper, with
// the paragraph style) > spans and emphasis elements > text. The scratch root
// is an element without a name in the output document itself, so that a
// finished paragraph moves into place instead of being copied. `nodes` holds
// the open elements, innermost last; every formatting level remembers how
// many of them were open after its own append, so returning to an earlier
// level closes exactly what the later levels left open.

#include "rtf/format_state.h"

#include <pugixml.hpp>

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace rtf {

class RunBuilder
{
public:
    // Elements open at once inside the paragraph wrapper, at most. Deeper
    // formatting changes put their text into the innermost open element:
    // rich-text engines take time quadratic in the nesting depth.
    static const std::size_t kMaxOpenElements = 64;

    // `state` is the pass's current formatting, read at every append;
    // `scratchRoot` an element without a name of the output document, which
    // the builder empties at every reset.
    RunBuilder(const FormatState& state, pugi::xml_node scratchRoot);

    RunBuilder(const RunBuilder&) = delete;
    RunBuilder& operator=(const RunBuilder&) = delete;

    // Appends text (UTF-8, possibly empty) in the current formatting. Even an
    // empty text opens the elements that the formatting calls for.
    void appendText(std::string_view text);

    // Places the pending text into the innermost open element.
    void flushRun();

    // Empties the builder for the next paragraph.
    void resetRun();

    // Moves the paragraph into `target` (of the same document). An element
    // target receives the paragraph style and the paragraph's content, with a
    // lone style span folded into it; a target without a name (a table cell's
    // container) receives the wrapper itself. Once per paragraph: resetRun
    // follows.
    void emitRun(pugi::xml_node target);

    // Whether the paragraph holds any text, placed or pending.
    bool holdsText() const { return hasText_ || !pendingText_.empty(); }

private:
    struct Level
    {
        FormatState state;
        std::size_t hash;
        std::size_t openNodes;     // size of nodes_ after this level's append
        std::size_t previousSame;  // the earlier level with the same hash, or npos
    };

    std::size_t findLevel(const FormatState& state, std::size_t hash) const;
    void pushLevel(std::size_t hash);
    void popLevel();
    bool canOpenElement() const;

    const std::string& characterStyle();

    const FormatState& state_;
    // The character style text last computed, and for which formatting.
    FormatState styledState_;
    std::string styleText_;
    bool styleKnown_ = false;
    std::vector<Level> levels_;
    // Newest level per formatting hash, so that finding an earlier level
    // costs no walk over the whole queue.
    std::unordered_map<std::size_t, std::size_t> newestByHash_;
    std::string pendingText_;
    pugi::xml_node scratch_;
    std::vector<pugi::xml_node> nodes_;
    bool hasText_ = false;
};

} // namespace rtf
