#pragma once

// Tables: RTF describes a table row by row, and column spans can be computed
// only from the right edges of every row, so rows are collected until the
// table ends and then written whole, with colspans from the column grid and
// rowspans from vertically merged cells.

#include <pugixml.hpp>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rtf {

struct CellDef
{
    std::int32_t cellx = 0;   // right edge, twips
    bool merged = false;      // \clvmrg: continues the merged cell above
    bool firstMerged = false; // \clvmgf: first of a vertically merged cell
};

struct RowDef
{
    std::vector<CellDef> cells; // in \cellx order
};

struct TableCell
{
    std::uint32_t rowspan = 0;
    // Container (an element without a name) holding the cell's paragraphs as
    // the run builder emitted them, each wrapped, with a "br" after each
    // paragraph mark; null until the cell receives content.
    pugi::xml_node content;
};

struct TableRow
{
    std::vector<TableCell> cells;
    std::size_t rowDef = 0;     // index into the pass's row definitions
    std::int32_t left = -1000;  // left edge, twips; -1000 until \trleft sets it
};

struct TableBuilder
{
    std::vector<TableRow> rows;
};

// Writes the collected table as the last child of `target`, moving the
// cells' content there (target and content share one document).
void emitTable(TableBuilder& table, const std::vector<RowDef>& rowDefs, pugi::xml_node target);

// Moves one cell's paragraphs into its "td": the td takes the first
// paragraph's style; every paragraph follows with its line break, a paragraph
// made of one span unwrapped.
void emitCell(pugi::xml_node cellContent, pugi::xml_node td);

// The table words' state for one pass: row definitions, the cell and row
// being read, and the rows collected so far.
class TableCollector
{
public:
    // `cellStore`: an element without a name of the output document that
    // holds the content of the cells being collected.
    explicit TableCollector(pugi::xml_node cellStore);
    TableCollector(const TableCollector&) = delete;
    TableCollector& operator=(const TableCollector&) = delete;

    void startRowDef();                   // \trowd
    void setRowLeft(std::int32_t left);   // \trleft
    void markFirstMerged();               // \clvmgf
    void markMerged();                    // \clvmrg
    void addCellEdge(std::int32_t cellx); // \cellx

    // Where the current cell's paragraphs go.
    pugi::xml_node currentCellContent();
    // \cell, once its last paragraph is in currentCellContent().
    void finishCell();
    // \row and \nestrow: opens the table; adds the row when it has cells.
    void finishRow();

    bool isOpen() const { return open_; }

    // Writes the table into `target` and starts a fresh one.
    void writeTable(pugi::xml_node target);

private:
    std::vector<RowDef> rowDefs_;
    CellDef currentCellDef_;
    TableCell currentCell_;
    TableRow currentRow_;
    TableBuilder table_;
    std::int32_t lastTrLeft_ = 0;
    bool open_ = false;
    // Every cell's content lives here, not in a document of its own (a
    // document per cell costs a memory page per cell), and in the output
    // document, so that it moves into its "td" instead of being copied.
    pugi::xml_node cellStore_;
};

} // namespace rtf
