#pragma once

#include <QString>

#include <map>
#include <optional>
#include <utility>

namespace belmo::gui {

// The column widths the user set on the preview grids, in pixels, by the panel's caption
// and the column. The window keeper holds one for the whole run: the console's view is made
// again when the transport window closes, and a width the user dragged must stay.
class ColumnWidths {
public:
    std::optional<int> width(const QString& panel, int col) const
    {
        const auto it = widths_.find({panel, col});
        return it == widths_.end() ? std::nullopt : std::optional<int>(it->second);
    }
    void set(const QString& panel, int col, int pixels) { widths_[{panel, col}] = pixels; }

private:
    std::map<std::pair<QString, int>, int> widths_;
};

}  // namespace belmo::gui
