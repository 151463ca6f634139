#include "rtf/run_builder.h"

#include <algorithm>
#include <cstring>

namespace rtf {
namespace {

const std::size_t kNone = static_cast<std::size_t>(-1);

bool isElementNamed(const pugi::xml_node& node, const char* name)
{
    return node.type() == pugi::node_element && std::strcmp(node.name(), name) == 0;
}

bool hasName(const pugi::xml_node& node)
{
    return node.name()[0] != '\0';
}

} // namespace

RunBuilder::RunBuilder(const FormatState& state, pugi::xml_node scratchRoot)
    : state_(state)
    , scratch_(scratchRoot)
{
    nodes_.push_back(scratch_);
}

std::size_t RunBuilder::findLevel(const FormatState& state, std::size_t hash) const
{
    const auto it = newestByHash_.find(hash);
    if (it == newestByHash_.end())
        return kNone;
    for (std::size_t index = it->second; index != kNone; index = levels_[index].previousSame)
        if (sameFormatting(levels_[index].state, state))
            return index;
    return kNone;
}

void RunBuilder::pushLevel(std::size_t hash)
{
    const std::size_t index = levels_.size();
    auto [it, inserted] = newestByHash_.emplace(hash, index);
    const std::size_t previous = inserted ? kNone : it->second;
    it->second = index;
    levels_.push_back(Level{state_, hash, nodes_.size(), previous});
}

void RunBuilder::popLevel()
{
    const Level& back = levels_.back();
    if (back.previousSame == kNone)
        newestByHash_.erase(back.hash);
    else
        newestByHash_[back.hash] = back.previousSame;
    levels_.pop_back();
}

const std::string& RunBuilder::characterStyle()
{
    // Runs switch back and forth between few formattings.
    if (!styleKnown_ || !sameSpanProperties(styledState_, state_)) {
        styledState_ = state_;
        styleText_ = characterStyleText(state_);
        styleKnown_ = true;
    }
    return styleText_;
}

bool RunBuilder::canOpenElement() const
{
    // nodes_ holds the document node and the wrapper besides the elements.
    return nodes_.size() < kMaxOpenElements + 2;
}

void RunBuilder::appendText(std::string_view text)
{
    if (!levels_.empty() && sameFormatting(levels_.back().state, state_)) {
        pendingText_.append(text);
        return;
    }
    const std::size_t hash = formattingHash(state_);
    if (!levels_.empty()) {
        const std::size_t found = findLevel(state_, hash);
        if (found != kNone) {
            // Back to an earlier formatting: close what the later levels left open.
            flushRun();
            const std::size_t keep = std::max<std::size_t>(levels_[found].openNodes, 2);
            if (nodes_.size() > keep)
                nodes_.resize(keep);
            while (levels_.size() > found + 1)
                popLevel();
            pendingText_.append(text);
            return;
        }
    }

    const FormatState temp = levels_.empty() ? FormatState() : levels_.back().state;

    pugi::xml_node top = nodes_.back();
    if (top == scratch_) {
        top = top.append_child("parent");
        nodes_.push_back(top);
    }

    const std::string& paragraphStyle = paragraphStyleText(state_);
    if (!paragraphStyle.empty() && isElementNamed(top, "parent"))
        top.append_attribute("style").set_value(paragraphStyle.c_str());

    pugi::xml_node node = top;
    if (!sameSpanProperties(state_, temp)) {
        const std::string& characterStyle = this->characterStyle();
        if (!characterStyle.empty() && canOpenElement()) {
            // The text so far belongs outside the new span.
            flushRun();
            node = node.append_child("span");
            node.append_attribute("style").set_value(characterStyle.c_str());
            nodes_.push_back(node);
        }
    }

    for (const Emphasis& emphasis : kEmphasisOrder) {
        if (state_.*emphasis.flag == temp.*emphasis.flag)
            continue;
        flushRun();
        if (state_.*emphasis.flag) {
            if (canOpenElement()) {
                node = node.append_child(emphasis.tag);
                nodes_.push_back(node);
            }
        } else if (nodes_.size() > 2) {
            // Never the document node nor the paragraph wrapper.
            nodes_.pop_back();
            node = nodes_.back();
        }
    }

    pushLevel(hash);
    pendingText_.append(text);
}

void RunBuilder::flushRun()
{
    if (pendingText_.empty())
        return;
    // A NUL would end the text node's value and lose the rest of the run.
    pendingText_.erase(std::remove(pendingText_.begin(), pendingText_.end(), '\0'), pendingText_.end());
    if (!pendingText_.empty()) {
        pugi::xml_node owner = nodes_.back();
        if (owner) {
            pugi::xml_node text = owner.append_child(pugi::node_pcdata);
            text.set_value(pendingText_.c_str());
            hasText_ = true;
        }
    }
    pendingText_.clear();
}

void RunBuilder::resetRun()
{
    pendingText_.clear();
    levels_.clear();
    if (!newestByHash_.empty()) {
        // clear() would wipe every bucket of a once-large table at each paragraph.
        if (newestByHash_.bucket_count() > 64)
            newestByHash_ = std::unordered_map<std::size_t, std::size_t>();
        else
            newestByHash_.clear();
    }
    // Node removal recurses over the removed tree's depth, which the
    // element bound keeps small; what an emitted paragraph leaves is a shell.
    scratch_.remove_children();
    nodes_.clear();
    nodes_.push_back(scratch_);
    hasText_ = false;
}

void RunBuilder::emitRun(pugi::xml_node target)
{
    pugi::xml_node wrapper;
    for (pugi::xml_node child = scratch_.first_child(); child; child = child.next_sibling()) {
        if (isElementNamed(child, "parent")) {
            wrapper = child;
            break;
        }
    }

    std::string style = wrapper.attribute("style").value();
    pugi::xml_node source = wrapper;
    const pugi::xml_node only = wrapper.first_child();
    if (only && only == wrapper.last_child() && isElementNamed(only, "span")) {
        style += only.attribute("style").value();
        source = only;
    }

    if (!hasName(target)) {
        source = scratch_;
    } else if (!style.empty()) {
        target.append_attribute("style").set_value(style.c_str());
    }

    for (pugi::xml_node child = source.first_child(); child;) {
        const pugi::xml_node next = child.next_sibling();
        target.append_move(child);
        child = next;
    }
}

} // namespace rtf
