// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The version dialog: name, version and copyright, closed with its one button.

#include <QDialog>

class QLabel;
class QPushButton;

namespace pokopin::app {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* owner = nullptr);

    QLabel* versionLabel() const { return versionLabel_; }
    QPushButton* okButton() const { return okButton_; }

    // Esc: the same as OK.
    void reject() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void load();
    void showLogo();
    void okClicked();

    QLabel* logo_ = nullptr;
    qreal logoRatio_ = 1;
    QLabel* titleLabel_ = nullptr;
    QLabel* versionLabel_ = nullptr;
    QLabel* copyrightLabel_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

}  // namespace pokopin::app
