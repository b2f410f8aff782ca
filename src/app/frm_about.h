#pragma once

// The version dialog: name, version and copyright, closed with its one button.

#include <QDialog>

class QLabel;
class QPushButton;

namespace pokopin::app {

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* owner = nullptr);

    QLabel* lblVersion() const { return lblVersion_; }
    QPushButton* cmdOK() const { return cmdOK_; }

    // Esc: the same as OK.
    void reject() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Form_Load();
    void cmdOK_Click();

    QLabel* lblTitle_ = nullptr;
    QLabel* lblVersion_ = nullptr;
    QLabel* label1_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
};

}  // namespace pokopin::app
