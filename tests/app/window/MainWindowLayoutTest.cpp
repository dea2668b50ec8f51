// Where the main window's controls go, for the sizes and DPIs a user can give it.

#include "app/window/MainWindowLayout.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/window/DpiScaling.h"

namespace {

// Metrics as the window measures them with a 9-point font, at `dpi`.
MainWindowMetrics MetricsAt(int dpi) {
    auto s = [dpi](int dips) { return ScaleToDpi(dips, dpi); };
    MainWindowMetrics m;
    m.margin = s(11);
    m.gap = s(7);
    m.lineHeight = s(15);
    m.rowHeight = s(23);
    m.labelWidth = s(80);
    m.logLabelWidth = s(22);
    m.buttonWidth = s(75);
    m.optionWidths = {s(70), s(70), s(70)};
    m.minFieldWidth = s(150);
    m.minLogHeight = s(80);
    return m;
}

std::vector<RECT> AllPlaces(const MainWindowLayout& l) {
    return {l.folderLabel,      l.folderField, l.browseButton, l.optionLabel,   l.optionButtons[0], l.optionButtons[1],
            l.optionButtons[2], l.startButton, l.stopButton,   l.restoreButton, l.logLabel,         l.logBox};
}

TEST(MainWindowLayoutTest, EveryControlIsWholeInsideTheClientAreaAndApart) {
    for (int dpi : {96, 120, 144, 192}) {
        const MainWindowMetrics m = MetricsAt(dpi);
        const SIZE minimum = MinimumClientSize(m);
        const SIZE sizes[] = {
            minimum, {minimum.cx + 1, minimum.cy + 1}, {ScaleToDpi(640, dpi), ScaleToDpi(460, dpi)}, {3000, 2000}};
        for (SIZE size : sizes) {
            SCOPED_TRACE(testing::Message() << "dpi " << dpi << ", client " << size.cx << "x" << size.cy);
            std::vector<RECT> places = AllPlaces(LayOutMainWindow(m, size.cx, size.cy));
            for (size_t i = 0; i < places.size(); ++i) {
                const RECT& a = places[i];
                SCOPED_TRACE(testing::Message() << "control #" << i);
                EXPECT_GT(a.right, a.left);
                EXPECT_GT(a.bottom, a.top);
                EXPECT_GE(a.left, m.margin);
                EXPECT_GE(a.top, m.margin);
                EXPECT_LE(a.right, size.cx - m.margin);
                EXPECT_LE(a.bottom, size.cy - m.margin);
                for (size_t j = i + 1; j < places.size(); ++j) {
                    RECT overlap;
                    EXPECT_FALSE(IntersectRect(&overlap, &a, &places[j])) << "overlaps control #" << j;
                }
            }
        }
    }
}

TEST(MainWindowLayoutTest, LogTakesWhatTheWindowGainsAndKeepsItsMinimum) {
    const MainWindowMetrics m = MetricsAt(96);
    const SIZE minimum = MinimumClientSize(m);
    const MainWindowLayout small = LayOutMainWindow(m, minimum.cx, minimum.cy);
    const MainWindowLayout large = LayOutMainWindow(m, minimum.cx + 300, minimum.cy + 200);

    EXPECT_GE(small.logBox.bottom - small.logBox.top, m.minLogHeight);
    EXPECT_GE(small.folderField.right - small.folderField.left, m.minFieldWidth);
    EXPECT_EQ(large.logBox.right - large.logBox.left, small.logBox.right - small.logBox.left + 300);
    EXPECT_EQ(large.logBox.bottom - large.logBox.top, small.logBox.bottom - small.logBox.top + 200);
    EXPECT_EQ(large.folderField.right - large.folderField.left, small.folderField.right - small.folderField.left + 300);
    EXPECT_EQ(large.browseButton.right, minimum.cx + 300 - m.margin);
    EXPECT_TRUE(EqualRect(&large.startButton, &small.startButton));

    // Smaller than the minimum is laid out as the minimum; the window clips the rest.
    const MainWindowLayout tiny = LayOutMainWindow(m, 10, 10);
    EXPECT_TRUE(EqualRect(&tiny.logBox, &small.logBox));
    EXPECT_TRUE(EqualRect(&tiny.browseButton, &small.browseButton));
}

TEST(MainWindowLayoutTest, RowsReadFromTopToBottom) {
    const MainWindowMetrics m = MetricsAt(96);
    const MainWindowLayout l = LayOutMainWindow(m, 800, 600);
    EXPECT_LE(l.folderField.bottom, l.optionButtons[0].top);
    EXPECT_LE(l.optionButtons[0].bottom, l.startButton.top);
    EXPECT_LE(l.startButton.bottom, l.logLabel.top);
    EXPECT_LE(l.logLabel.bottom, l.logBox.top);
    // Within a row, left to right, and the field lines up with what stands below it.
    EXPECT_LT(l.folderLabel.right, l.folderField.left);
    EXPECT_LT(l.folderField.right, l.browseButton.left);
    EXPECT_LT(l.startButton.right, l.stopButton.left);
    EXPECT_LT(l.stopButton.right, l.restoreButton.left);
    EXPECT_EQ(l.folderField.left, l.optionButtons[0].left);
    EXPECT_EQ(l.folderField.left, l.startButton.left);
}

}  // namespace
