#pragma once

#include <QPoint>
#include <QRect>

#include <cmath>

namespace vk::e2e {

// Where things stand on screen, worked out from the layout rules (not read
// out of the program): the main window at `main`, the stage inside it
// below its 25-pixel top band.
struct StageLayout {
    explicit StageLayout(QRect main)
        : main(main)
    {
        const int W = main.width();
        const int H = main.height() - 25;
        exercise = QRect(main.x(), main.y() + 25, W, H);
        const int panelTop = static_cast<int>(std::nearbyint((H - 525) / 2.0)) + 70;
        const int panelLeft = static_cast<int>(std::nearbyint((W - 902) / 2.0));
        sheetPanel = QRect(exercise.x() + panelLeft, exercise.y() + panelTop, 902, 234);
        grid = QRect(sheetPanel.x() + 4, sheetPanel.y() + 50, 894, 180);
        unscaledGrid = grid;
        clock = QRect(exercise.x() + static_cast<int>(std::nearbyint((W - 162) / 2.0 + 190)), exercise.y(), 162, 81);
        result = QRect(exercise.x() + static_cast<int>(std::nearbyint((W - 150) / 2.0)),
                       sheetPanel.bottom() + 1 + 30, 150, 150);
        back = QRect(exercise.x() + 50, exercise.y() + H - 80, 150, 50);
        finish = QRect(exercise.x() + W - 200, exercise.y() + H - 80, 150, 50);
        backCentred = QRect(exercise.x() + static_cast<int>(std::nearbyint((W - 150) / 2.0)), exercise.y() + H - 80, 150, 50);
    }

    // The same places on a screen scaled by `s` (pixels of the screen, where
    // the layout's are the program's).
    StageLayout scaledBy(double s) const
    {
        StageLayout l = *this;
        for (QRect *r : {&l.main, &l.exercise, &l.sheetPanel, &l.grid, &l.clock, &l.result, &l.back, &l.finish, &l.backCentred})
            *r = scaled(*r, s);
        l.m_scale = s;
        return l;
    }
    static QRect scaled(const QRect &r, double s)
    {
        const auto at = [s](int v) { return static_cast<int>(std::floor(v * s + 0.5)); };
        return QRect(QPoint(at(r.x()), at(r.y())), QPoint(at(r.x() + r.width()) - 1, at(r.y() + r.height()) - 1));
    }

    // A digit cell of the sheet: 1-pixel frame, a 6-pixel edge column, then
    // 22-pixel columns; rows 6, 34, 34, 6, 6, 34, 18, 34, 6 pixels high.
    QRect cell(int row, int column) const
    {
        static const int heights[] = {6, 34, 34, 6, 6, 34, 18, 34, 6};
        const QRect at100 = m_scale == 1.0 ? grid : unscaledGrid;
        int top = at100.y() + 1;
        for (int r = 0; r < row; ++r)
            top += heights[r];
        const int left = at100.x() + 1 + 6 + 22 * (column - 1);
        return scaled(QRect(left, top, 22, heights[row]), m_scale);
    }

    QRect main;
    QRect exercise;
    QRect sheetPanel;
    QRect grid;
    QRect unscaledGrid; // the grid in the program's pixels
    QRect clock;
    QRect result;
    QRect back;
    QRect finish;
    QRect backCentred;

private:
    double m_scale = 1.0;
};

// The start screen: the settings panel 750 x 120 centred 190 pixels above
// the bottom, START 175 x 45 centred in it 15 pixels above its bottom.
struct StartLayout {
    explicit StartLayout(QRect main)
    {
        const double panelLeft = main.x() + (main.width() - 750) / 2.0;
        const int panelTop = main.y() + main.height() - 190;
        panel = QRect(static_cast<int>(std::nearbyint(panelLeft)), panelTop, 750, 120);
        start = QRect(static_cast<int>(std::nearbyint(panelLeft + (750 - 175) / 2.0)), panelTop + 60, 175, 45);
        // The clock choice starts at START's centre line, beside the label.
        comboPoint = QPoint(start.center().x() + 70, start.y() - 15 - 9);
        strip = QRect(main.x() + main.width() - 72, main.y() + 4, 68, 15);
    }
    QPoint stripCell(int n) const { return QPoint(strip.x() + 17 * (n - 1) + 8, strip.y() + 7); }
    QRect stripCellRect(int n) const { return QRect(strip.x() + 17 * (n - 1), strip.y(), 17, 15); }

    QRect panel;
    QRect start;
    QPoint comboPoint;
    QRect strip;
};

} // namespace vk::e2e
