#pragma once

#include <QDialog>

#include <array>

class QLabel;
class QPushButton;

// The About window: the program's name and icon, a copyright notice, the version and where to report
// problems. Each opening makes a new one.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget* parent = nullptr);

private:
    void Form_Load();

    QLabel* picOne;
    std::array<QLabel*, 4> lblInformation {};
    QPushButton* cmdOk;
};
