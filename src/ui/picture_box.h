// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The picture boxes of the main window: the board and side panel, which show
// a picture owned by the window, and the holes, which show one of the shared
// hole pictures and report clicks.

#include <QImage>
#include <QWidget>

#include <functional>

class QPainter;

namespace pokopin::ui {

// A picture at its layout size and at twice that size, both drawn from the
// same description. Wherever a layout pixel covers more than one device pixel
// the fine one is shown, so no screen ever sees an enlarged coarse picture.
// The fine one is made the first time it is asked for: most screens never
// ask, and reading it up front would cost start-up time and memory.
class Picture {
public:
    Picture() = default;
    // The fine picture comes from makeFine when first needed.
    Picture(QImage normal, std::function<QImage()> makeFine);
    // Reads `path` now and its "@2x" companion when first needed.
    static Picture load(const QString& path);

    QImage& normal() { return normal_; }
    const QImage& normal() const { return normal_; }
    // Device pixel ratio 2; made on the first call, null when there is none.
    const QImage& fine() const;
    QImage& fine();
    bool hasFine() const { return fineMade_; }

private:
    QImage normal_;
    std::function<QImage()> makeFine_;
    mutable QImage fine_;
    mutable bool fineMade_ = false;
};

// Draws `area` of `picture` (layout pixels) at the same place. At one device
// pixel per layout pixel this is the plain picture, pixel for pixel.
void drawPicture(QPainter& painter, const QRect& area, const Picture& picture);

// Shows a picture that lives elsewhere; whatever is painted into that picture
// is what the box shows, across any number of repaints.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);
    void setPicture(const Picture* picture);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const Picture* picture_ = nullptr;
};

class HoleBox : public QWidget {
    Q_OBJECT
public:
    HoleBox(int index, QWidget* parent = nullptr);
    int index() const { return index_; }
    // The box refers to the picture; it does not copy it, so the picture must
    // outlive the box.
    void setPicture(const Picture* picture);
    const Picture* picture() const { return picture_; }

signals:
    // A press and a release of the left button, both on this hole.
    void clicked(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // The second press of a double-click starts no click.
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    int index_;
    const Picture* picture_ = nullptr;
    bool pressed_ = false;
};

}  // namespace pokopin::ui
