#pragma once
#include <unordered_map>
#include <vector>

#include "ui/layout/KLayout.h"

// A table of cells. "columns" sets the number of columns (default 1) and
// "rows" the number of rows (0, the default: as many as the controls need).
// Controls fill the cells in reading order, or column by column with
// "verticalfill" when the number of rows is given; each covers "hspan" by
// "vspan" cells from the first free cell (a missing "hspan" takes the
// layout's "columnspancount", default 1). A column is as wide as the widest
// control it holds alone, a row as high as its highest; spanning controls
// widen the last column (row) they cover when they need more. Space left
// over goes to the columns (rows) holding a control with a weight on that
// axis, in proportion to the largest weight in each; without such columns
// the table keeps its natural size at the top left. Controls are placed in
// their cells as in a column. The grid takes the whole free rectangle.
class KLayoutGrid : public KLayout {
public:
    using KLayout::KLayout;

    void LoadFromXml(const KXMLItem& item) override;
    void AddControlFromXml(KLayoutControl& control, const KXMLItem& item) override;
    void AddControl(KLayoutControl& control) override;
    void RemoveControl(KLayoutControl& control) override;
    KLayoutRect Arrange(KLayoutRect rect) override;
    void ComputeSize(KLayoutSizeState& state, const SizeComputer& computer) override;
    int Stretchability() const override;

    void SetColumns(int columns) noexcept { m_columns = columns; }
    void SetRows(int rows) noexcept { m_rows = rows; }
    void SetSpan(KLayoutControl& control, int columns, int rows);

private:
    struct Span {
        int columns = 1;
        int rows = 1;
    };
    struct Cell {
        KLayoutControl* control;
        int column, row, columns, rows;
    };
    // The visible controls with the cells they cover.
    std::vector<Cell> Assign() const;
    // Extents of the columns (horizontal) or rows (vertical) and their weights.
    std::vector<int> Tracks(const std::vector<Cell>& cells, KAxis axis, const SizeComputer& computer,
                            std::vector<int>& weights) const;
    int TrackCount(const std::vector<Cell>& cells, KAxis axis) const;

    int m_columns = 1;
    int m_rows = 0;
    bool m_verticalFill = false;
    int m_defaultColumnSpan = 1;
    std::unordered_map<const KLayoutControl*, Span> m_spans;
};
