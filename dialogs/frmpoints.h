#pragma once

#include "CentredDialog.h"

#include <array>

class DesignFrame;
struct Module1;
class QButtonGroup;
class QPushButton;

// The borderless "How many points?" picker for the add and subtract commands; the chosen amount
// goes to the shared points_pick. Only hidden when dismissed, so it keeps its selection.
class frmpoints : public CentredDialog {
    Q_OBJECT
public:
    explicit frmpoints(Module1 &settings, QWidget *parent = nullptr);

    // One amount option as designed: the amount is also its index and caption; place in twips.
    struct Option {
        int amount;
        int left;
        int top;
    };
    // In tab order.
    static constexpr std::array<Option, 22> kOptions{{
        {1, 225, 360},   {2, 225, 630},   {3, 225, 900},   {4, 225, 1170},  {5, 225, 1440},  {6, 225, 1710},
        {7, 225, 1980},  {8, 225, 2250},  {9, 225, 2520},  {10, 225, 2790}, {11, 225, 3060}, {12, 855, 360},
        {13, 855, 675},  {14, 855, 945},  {15, 855, 1215}, {16, 855, 1485}, {17, 855, 1755}, {18, 855, 2025},
        {19, 855, 2295}, {20, 855, 2565}, {25, 855, 2835}, {50, 855, 3105},
    }};
    static constexpr int kOptionWidth = 735;
    static constexpr int kOptionHeight = 240;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void optpoints_Click(int index, bool checked);

    Module1 &settings_;
    DesignFrame *Frame1;
    QButtonGroup *optpoints;
    QPushButton *Command1;
};
