#include "app/window/MainWindowLayout.h"

#include <algorithm>

namespace {

RECT Box(int left, int top, int width, int height) {
    return RECT{left, top, left + width, top + height};
}

int ColumnLeft(const MainWindowMetrics& m) {
    return m.margin + m.labelWidth + m.gap;
}

int OptionRowWidth(const MainWindowMetrics& m) {
    int width = 0;
    for (int w : m.optionWidths)
        width += w;
    return width + 2 * m.gap * static_cast<int>(m.optionWidths.size() - 1);
}

int LogTop(const MainWindowMetrics& m) {
    // Folder row, option row, then the button row set apart by a wider gap, then the log's label.
    int buttonRowTop = m.margin + 2 * (m.rowHeight + m.gap) + m.gap;
    return buttonRowTop + m.rowHeight + 2 * m.gap + m.lineHeight + m.gap / 2;
}

}  // namespace

SIZE MinimumClientSize(const MainWindowMetrics& m) {
    int contentWidth =
        std::max({m.minFieldWidth + m.gap + m.buttonWidth, OptionRowWidth(m), 3 * m.buttonWidth + 2 * m.gap});
    int width = std::max(ColumnLeft(m) + contentWidth, m.margin + m.logLabelWidth) + m.margin;
    int height = LogTop(m) + m.minLogHeight + m.margin;
    return SIZE{width, height};
}

MainWindowLayout LayOutMainWindow(const MainWindowMetrics& m, int clientWidth, int clientHeight) {
    SIZE minimum = MinimumClientSize(m);
    const int right = std::max<int>(clientWidth, minimum.cx) - m.margin;
    const int bottom = std::max<int>(clientHeight, minimum.cy) - m.margin;
    const int column = ColumnLeft(m);
    MainWindowLayout layout = {};

    int y = m.margin;
    layout.folderLabel = Box(m.margin, y, m.labelWidth, m.rowHeight);
    layout.browseButton = Box(right - m.buttonWidth, y, m.buttonWidth, m.rowHeight);
    layout.folderField = RECT{column, y, layout.browseButton.left - m.gap, y + m.rowHeight};

    y += m.rowHeight + m.gap;
    layout.optionLabel = Box(m.margin, y, m.labelWidth, m.rowHeight);
    int x = column;
    for (size_t i = 0; i < layout.optionButtons.size(); ++i) {
        layout.optionButtons[i] = Box(x, y, m.optionWidths[i], m.rowHeight);
        x += m.optionWidths[i] + 2 * m.gap;
    }

    y += m.rowHeight + 2 * m.gap;
    layout.startButton = Box(column, y, m.buttonWidth, m.rowHeight);
    layout.stopButton = Box(layout.startButton.right + m.gap, y, m.buttonWidth, m.rowHeight);
    layout.restoreButton = Box(layout.stopButton.right + m.gap, y, m.buttonWidth, m.rowHeight);

    y += m.rowHeight + 2 * m.gap;
    layout.logLabel = Box(m.margin, y, m.logLabelWidth, m.lineHeight);
    y = LogTop(m);
    layout.logBox = RECT{m.margin, y, right, bottom};
    return layout;
}
