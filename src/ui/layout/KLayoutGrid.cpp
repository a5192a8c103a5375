#include "ui/layout/KLayoutGrid.h"

#include <algorithm>
#include <numeric>

#include "foundation/xml/KXMLItem.h"
#include "ui/layout/KLayoutControl.h"
#include "ui/layout/KLayoutNumber.h"
#include "ui/layout/KLayoutStrip.h"

void KLayoutGrid::LoadFromXml(const KXMLItem& item) {
    KLayout::LoadFromXml(item);
    m_columns = std::max(1, ReadLayoutNumber(item, "columns", m_columns, KLayoutNumber::Count));
    m_rows = ReadLayoutNumber(item, "rows", m_rows, KLayoutNumber::Count);
    m_verticalFill = item.BoolAttribute("verticalfill", m_verticalFill);
    m_defaultColumnSpan = std::max(1, ReadLayoutNumber(item, "columnspancount", m_defaultColumnSpan, KLayoutNumber::Count));
}

void KLayoutGrid::AddControlFromXml(KLayoutControl& control, const KXMLItem& item) {
    AddControl(control);
    SetSpan(control, ReadLayoutNumber(item, "hspan", m_defaultColumnSpan, KLayoutNumber::Count),
            ReadLayoutNumber(item, "vspan", 1, KLayoutNumber::Count));
}

void KLayoutGrid::AddControl(KLayoutControl& control) {
    KLayout::AddControl(control);
    m_spans[&control] = Span{std::min(m_defaultColumnSpan, m_columns), 1};
}

void KLayoutGrid::RemoveControl(KLayoutControl& control) {
    KLayout::RemoveControl(control);
    m_spans.erase(&control);
}

void KLayoutGrid::SetSpan(KLayoutControl& control, int columns, int rows) {
    m_spans[&control] = Span{std::clamp(columns, 1, m_columns), std::max(1, rows)};
}

std::vector<KLayoutGrid::Cell> KLayoutGrid::Assign() const {
    std::vector<Cell> cells;
    std::vector<std::vector<bool>> taken;  // [row][column]
    auto isFree = [&](int column, int row, const Span& span) {
        if (column + span.columns > m_columns) return false;
        for (int r = row; r < row + span.rows; ++r)
            for (int c = column; c < column + span.columns; ++c)
                if (r < int(taken.size()) && taken[std::size_t(r)][std::size_t(c)]) return false;
        return true;
    };
    const bool byColumn = m_verticalFill && m_rows > 0;
    int slot = 0;
    ForEachVisible([&](KLayoutControl& control) {
        const Span span = m_spans.at(&control);
        int column = 0, row = 0;
        for (;; ++slot) {
            column = byColumn ? slot / m_rows : slot % m_columns;
            row = byColumn ? slot % m_rows : slot / m_columns;
            if (byColumn && column >= m_columns) {  // a full table grows by rows
                column = slot % m_columns;
                row = slot / m_columns;
            }
            if (isFree(column, row, span)) break;
        }
        if (int(taken.size()) < row + span.rows) taken.resize(std::size_t(row + span.rows), std::vector<bool>(std::size_t(m_columns)));
        for (int r = row; r < row + span.rows; ++r)
            for (int c = column; c < column + span.columns; ++c) taken[std::size_t(r)][std::size_t(c)] = true;
        cells.push_back(Cell{&control, column, row, span.columns, span.rows});
    });
    return cells;
}

int KLayoutGrid::TrackCount(const std::vector<Cell>& cells, KAxis axis) const {
    if (axis == KAxis::Horizontal) return m_columns;
    int rows = m_rows;
    for (const Cell& cell : cells) rows = std::max(rows, cell.row + cell.rows);
    return rows;
}

std::vector<int> KLayoutGrid::Tracks(const std::vector<Cell>& cells, KAxis axis, const SizeComputer& computer,
                                     std::vector<int>& weights) const {
    const bool horizontal = axis == KAxis::Horizontal;
    std::vector<int> tracks(std::size_t(TrackCount(cells, axis)), 0);
    weights.assign(tracks.size(), 0);
    const int spacing = Spacing();
    // Single cells first, then spanning controls widen their last track.
    for (int pass = 0; pass < 2; ++pass) {
        for (const Cell& cell : cells) {
            const int first = horizontal ? cell.column : cell.row;
            const int count = horizontal ? cell.columns : cell.rows;
            if ((count > 1) != (pass == 1)) continue;
            const int last = first + count - 1;
            weights[std::size_t(last)] = std::max(weights[std::size_t(last)], cell.control->Ratio(axis));
            int covered = (count - 1) * spacing;
            for (int t = first; t <= last; ++t) covered += tracks[std::size_t(t)];
            const int need = computer.Extent(*cell.control, axis);
            if (need > covered) tracks[std::size_t(last)] += need - covered;
        }
    }
    return tracks;
}

KLayoutRect KLayoutGrid::Arrange(KLayoutRect rect) {
    const std::vector<Cell> cells = Assign();
    const CurrentSizeComputer computer;
    const int spacing = Spacing();
    std::vector<int> starts[2];
    for (KAxis axis : {KAxis::Horizontal, KAxis::Vertical}) {
        std::vector<int> weights;
        std::vector<int> tracks = Tracks(cells, axis, computer, weights);
        const int used = std::accumulate(tracks.begin(), tracks.end(), 0) + spacing * std::max(0, int(tracks.size()) - 1);
        int free = std::max(0, rect.Extent(axis) - used);
        int weightSum = std::accumulate(weights.begin(), weights.end(), 0);
        for (std::size_t t = 0; t < tracks.size() && weightSum > 0; ++t) {
            const int share = weights[t] * free / weightSum;
            tracks[t] += share;
            free -= share;
            weightSum -= weights[t];
        }
        std::vector<int>& start = starts[axis == KAxis::Horizontal ? 0 : 1];
        start.resize(tracks.size() + 1);
        start[0] = rect.Start(axis);
        for (std::size_t t = 0; t < tracks.size(); ++t) start[t + 1] = start[t] + tracks[t] + spacing;
    }
    for (const Cell& cell : cells) {
        const KLayoutRect area{starts[0][std::size_t(cell.column)], starts[1][std::size_t(cell.row)],
                               starts[0][std::size_t(cell.column + cell.columns)] - spacing - 1,
                               starts[1][std::size_t(cell.row + cell.rows)] - spacing - 1};
        KLayoutStrip::Place(*cell.control, area);
    }
    return KLayoutRect::Empty();
}

void KLayoutGrid::ComputeSize(KLayoutSizeState& state, const SizeComputer& computer) {
    const std::vector<Cell> cells = Assign();
    const int spacing = Spacing();
    for (KAxis axis : {KAxis::Horizontal, KAxis::Vertical}) {
        std::vector<int> weights;
        const std::vector<int> tracks = Tracks(cells, axis, computer, weights);
        const int total = std::accumulate(tracks.begin(), tracks.end(), 0) + spacing * std::max(0, int(tracks.size()) - 1);
        int& required = axis == KAxis::Horizontal ? state.requiredWidth : state.requiredHeight;
        required = std::max(required, total);
    }
}

int KLayoutGrid::Stretchability() const {
    int bits = 0;
    ForEachVisible([&](const KLayoutControl& control) {
        if (control.Ratio(KAxis::Horizontal) > 0) bits |= control.Stretchability() & 1;
        if (control.Ratio(KAxis::Vertical) > 0) bits |= control.Stretchability() & 2;
    });
    return bits;
}
