#include "rtf/table_builder.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace rtf {
namespace {

bool isElementNamed(const pugi::xml_node& node, const char* name)
{
    return node.type() == pugi::node_element && std::strcmp(node.name(), name) == 0;
}

pugi::xml_node loneSpan(const pugi::xml_node& node)
{
    const pugi::xml_node only = node.first_child();
    if (only && only == node.last_child() && isElementNamed(only, "span"))
        return only;
    return pugi::xml_node();
}

void moveChildren(const pugi::xml_node& source, pugi::xml_node target)
{
    for (pugi::xml_node child = source.first_child(); child;) {
        const pugi::xml_node next = child.next_sibling();
        target.append_move(child);
        child = next;
    }
}

// Rowspans: how many rows below a given row continue a vertically merged cell
// at a given right edge. Rows that share a row definition form one segment
// (a definition is used by one run of consecutive rows only), and the count
// from each segment on is remembered per edge, so a table of many merged
// rows costs time linear in its size.
class MergeRuns
{
public:
    MergeRuns(const TableBuilder& table, const std::vector<RowDef>& rowDefs)
        : rowDefs_(rowDefs)
    {
        for (std::size_t i = 0; i < table.rows.size(); ++i) {
            const std::size_t def = table.rows[i].rowDef;
            if (segments_.empty() || segments_.back().rowDef != def)
                segments_.push_back(Segment{def, i, i});
            segments_.back().lastRow = i;
            segmentOfRow_.push_back(segments_.size() - 1);
        }
    }

    // Rows after `row` whose definition holds a merged cell ending at `cellx`,
    // up to the first that does not.
    std::uint32_t mergedRowsBelow(std::size_t row, std::int32_t cellx)
    {
        const std::size_t segment = segmentOfRow_[row];
        const Segment& s = segments_[segment];
        if (row < s.lastRow) {
            if (!hasMerged(segment, cellx))
                return 0;
            return static_cast<std::uint32_t>(s.lastRow - row) + fromSegment(segment + 1, cellx);
        }
        return fromSegment(segment + 1, cellx);
    }

private:
    struct Segment
    {
        std::size_t rowDef;
        std::size_t firstRow;
        std::size_t lastRow;
    };

    static std::uint64_t key(std::size_t segment, std::int32_t cellx)
    {
        return static_cast<std::uint64_t>(segment) << 32 | static_cast<std::uint32_t>(cellx);
    }

    bool hasMerged(std::size_t segment, std::int32_t cellx)
    {
        const std::size_t def = segments_[segment].rowDef;
        auto it = mergedEdges_.find(def);
        if (it == mergedEdges_.end()) {
            std::unordered_set<std::int32_t> edges;
            for (const CellDef& cell : rowDefs_[def].cells)
                if (cell.merged)
                    edges.insert(cell.cellx);
            it = mergedEdges_.emplace(def, std::move(edges)).first;
        }
        return it->second.count(cellx) != 0;
    }

    // Merged rows from the first row of `segment` on.
    std::uint32_t fromSegment(std::size_t segment, std::int32_t cellx)
    {
        std::vector<std::size_t> path;
        std::uint32_t count = 0;
        for (std::size_t s = segment; s < segments_.size(); ++s) {
            const auto known = memo_.find(key(s, cellx));
            if (known != memo_.end()) {
                count = known->second;
                break;
            }
            if (!hasMerged(s, cellx))
                break;
            path.push_back(s);
        }
        for (auto it = path.rbegin(); it != path.rend(); ++it) {
            const Segment& s = segments_[*it];
            count += static_cast<std::uint32_t>(s.lastRow - s.firstRow + 1);
            memo_[key(*it, cellx)] = count;
        }
        return count;
    }

    const std::vector<RowDef>& rowDefs_;
    std::vector<Segment> segments_;
    std::vector<std::size_t> segmentOfRow_;
    std::unordered_map<std::size_t, std::unordered_set<std::int32_t>> mergedEdges_;
    std::unordered_map<std::uint64_t, std::uint32_t> memo_;
};

std::size_t boundaryIndex(const std::vector<std::int32_t>& boundaries, std::int32_t value)
{
    return static_cast<std::size_t>(std::lower_bound(boundaries.begin(), boundaries.end(), value) - boundaries.begin());
}

} // namespace

void emitCell(pugi::xml_node cellContent, pugi::xml_node td)
{
    pugi::xml_node firstParagraph;
    for (pugi::xml_node child = cellContent.first_child(); child; child = child.next_sibling()) {
        if (isElementNamed(child, "parent")) {
            firstParagraph = child;
            break;
        }
    }

    if (!firstParagraph) {
        const char* style = cellContent.attribute("style").value();
        if (style[0] != '\0')
            td.append_attribute("style").set_value(style);
        const pugi::xml_node span = loneSpan(cellContent);
        moveChildren(span ? span : cellContent, td);
        return;
    }

    const char* style = firstParagraph.attribute("style").value();
    if (style[0] != '\0')
        td.append_attribute("style").set_value(style);
    for (pugi::xml_node child = cellContent.first_child(); child;) {
        const pugi::xml_node next = child.next_sibling();
        if (isElementNamed(child, "parent")) {
            const pugi::xml_node span = loneSpan(child);
            moveChildren(span ? span : child, td);
        } else {
            td.append_move(child);
        }
        child = next;
    }
}

void emitTable(TableBuilder& table, const std::vector<RowDef>& rowDefs, pugi::xml_node target)
{
    table.rows.erase(std::remove_if(table.rows.begin(), table.rows.end(),
                                    [](const TableRow& row) { return row.cells.empty(); }),
                     table.rows.end());

    // The column grid: every left edge and every right edge, each row
    // definition counted once however many rows share it.
    std::vector<std::int32_t> boundaries;
    std::size_t lastDef = static_cast<std::size_t>(-1);
    for (const TableRow& row : table.rows) {
        boundaries.push_back(row.left);
        if (row.rowDef != lastDef) {
            for (const CellDef& cell : rowDefs[row.rowDef].cells)
                boundaries.push_back(cell.cellx);
            lastDef = row.rowDef;
        }
    }
    std::sort(boundaries.begin(), boundaries.end());
    boundaries.erase(std::unique(boundaries.begin(), boundaries.end()), boundaries.end());

    MergeRuns mergeRuns(table, rowDefs);
    pugi::xml_node tableElement = target.append_child("table");
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        TableRow& row = table.rows[i];
        const std::vector<CellDef>& defs = rowDefs[row.rowDef].cells;
        pugi::xml_node tr = tableElement.append_child("tr");

        const std::size_t position = boundaryIndex(boundaries, row.left);
        if (position != 0)
            tr.append_child("td").append_attribute("colspan").set_value(std::to_string(position).c_str());

        std::size_t previous = position;
        const std::size_t cellCount = std::min(row.cells.size(), defs.size());
        for (std::size_t j = 0; j < cellCount; ++j) {
            const CellDef& def = defs[j];
            TableCell& cell = row.cells[j];
            const std::size_t p = boundaryIndex(boundaries, def.cellx);
            const auto span = static_cast<std::ptrdiff_t>(p) - static_cast<std::ptrdiff_t>(previous);
            previous = p;
            if (def.merged)
                continue; // the cell above carries a rowspan over this one

            if (def.firstMerged)
                cell.rowspan = 1 + mergeRuns.mergedRowsBelow(i, def.cellx);
            pugi::xml_node td = tr.append_child("td");
            if (cell.content)
                emitCell(cell.content, td);
            if (span >= 2)
                td.append_attribute("colspan").set_value(std::to_string(span).c_str());
            if (def.firstMerged)
                td.append_attribute("rowspan").set_value(std::to_string(cell.rowspan).c_str());
        }
    }
}

TableCollector::TableCollector(pugi::xml_node cellStore)
    : rowDefs_(1)
    , cellStore_(cellStore)
{
}

void TableCollector::startRowDef()
{
    rowDefs_.emplace_back();
}

void TableCollector::setRowLeft(std::int32_t left)
{
    currentRow_.left = left;
    lastTrLeft_ = left;
}

void TableCollector::markFirstMerged()
{
    currentCellDef_.firstMerged = true;
}

void TableCollector::markMerged()
{
    currentCellDef_.merged = true;
}

void TableCollector::addCellEdge(std::int32_t cellx)
{
    currentCellDef_.cellx = cellx;
    rowDefs_.back().cells.push_back(currentCellDef_);
    currentCellDef_ = CellDef();
}

pugi::xml_node TableCollector::currentCellContent()
{
    if (!currentCell_.content)
        currentCell_.content = cellStore_.append_child(pugi::node_element);
    return currentCell_.content;
}

void TableCollector::finishCell()
{
    currentRow_.cells.push_back(currentCell_);
    currentCell_ = TableCell();
}

void TableCollector::finishRow()
{
    open_ = true;
    if (currentRow_.cells.empty())
        return;
    currentRow_.rowDef = rowDefs_.size() - 1;
    if (currentRow_.left == -1000)
        currentRow_.left = lastTrLeft_;
    table_.rows.push_back(std::move(currentRow_));
    currentRow_ = TableRow();
}

void TableCollector::writeTable(pugi::xml_node target)
{
    emitTable(table_, rowDefs_, target);
    // What is left of the written cells: emptied containers, and the dropped
    // text of merged cells. Removal recurses over the depth of that content,
    // which the run builder's element bound keeps small.
    for (const TableRow& row : table_.rows)
        for (const TableCell& cell : row.cells)
            cellStore_.remove_child(cell.content);
    table_ = TableBuilder();
    open_ = false;
}

} // namespace rtf
