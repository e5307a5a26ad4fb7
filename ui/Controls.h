// SPDX-License-Identifier: GPL-3.0-or-later
// The four kinds of control the windows are built from, with the classic
// behaviour the program relies on: a label returns exactly the caption it
// was given; a list box reports every change of its selection once, through
// Click; a text box keeps exactly the text it was given.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "ui/Design.h"

namespace velitar::ui {

// Plain text (runs of blanks kept), opaque, word-wrapped from the top-left
// with its lines linePitch() apart, and cut at the bottom; never takes the
// focus.
class Label : public QLabel {
    Q_OBJECT
public:
    explicit Label(QWidget* parent = nullptr);

    // A single-line border, one pixel in the system's window frame colour,
    // inside the label's box; the text starts right inside it.
    void setBordered(bool bordered);
    bool isBordered() const { return bordered_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool bordered_ = false;
};

class ListBox : public QListWidget {
    Q_OBJECT
public:
    explicit ListBox(QWidget* parent = nullptr);

    void AddItem(const QString& text);

    // Every row as high as the design assumes, for the items added from now
    // on; 0, the default: as high as the list's font makes it.
    void setRowHeight(int height) { rowHeight_ = height; }
    int ListIndex() const; // -1 when nothing is selected
    QString Text() const;  // the selected item's text, empty when none

    // A typed letter selects the next option that starts with it, after the
    // selected one and round to the top, as a classic list box does; each key
    // searches on its own (no type-ahead of several letters).
    void keyboardSearch(const QString& search) override;

signals:
    // Raised once for every change of the selection, by mouse or keyboard.
    void Click();

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void choose(int row); // selects an option from the keyboard

    bool focusing_ = false;
    int rowHeight_ = 0;
};

// Single-line, read-only: the user can neither type, paste nor delete.
// Taking the focus leaves the text unselected, so that a screen reader reads
// the value rather than a selection. A text that changes while the box lacks
// the focus reaches a screen reader only when the focus comes, however it is
// set.
class TextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent = nullptr);

protected:
    void focusInEvent(QFocusEvent* event) override;
};

// Multi-line, read-only, word-wrapped, no scroll bars. It keeps the text it
// was given (line breaks as CR LF included) and shows CR LF as a line break.
// With the focus it has a text cursor that the arrow keys move, so every
// line can be reached and read out, one by one.
class MultiLineTextBox : public QPlainTextEdit {
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText)
public:
    explicit MultiLineTextBox(QWidget* parent = nullptr);

    QString text() const { return text_; }
    void setText(const QString& text);

protected:
    void wheelEvent(QWheelEvent* event) override; // the text never scrolls

private:
    QString text_;
};

// A push button painted in its back colour (palette Button) with the classic
// raised border. A caption too wide for one line wraps at its blanks, centred.
// Space and Enter press it when it has the focus.
class Button : public QPushButton {
    Q_OBJECT
public:
    explicit Button(QWidget* parent = nullptr);

    // Where the caption is drawn, and the flags it is drawn with.
    QRect captionRect() const;
    static constexpr int kCaptionFlags = Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

// Where the focus goes when a handler hides the control that has it. Left to
// itself, the toolkit moves the focus on to the next control in Tab order at
// the moment the control disappears, which after an answer is whatever comes
// next in the designed order (the question box, the score, Exit). Instead,
// while a handler runs, the focus stays on the hidden control, and when the
// handler has ended it goes to the control the window names, the next step
// of the test. A window asks holding() in its focusNextPrevChild.
class HandlerFocus {
public:
    explicit HandlerFocus(QWidget* window) : window_(window) {}

    // Inside a handler, with the focus on a control it has hidden.
    bool holding() const;
    // Runs the handler; when it has hidden the control with the focus, gives
    // the focus to target() if that is shown. Returns false when the focus is
    // still on a hidden control (the window then moves it on itself).
    template <typename Handler, typename Target> bool run(Handler handler, Target target)
    {
        running_ = true;
        handler();
        running_ = false;
        return place(focusHidden() ? target() : nullptr);
    }

private:
    bool focusHidden() const;
    bool place(QWidget* target);

    QWidget* window_;
    bool running_ = false;
};

// Creates the control a design describes, as a child of parent, in its
// designed box, colours, font, caption and visibility.
QWidget* createControl(const ControlDesign& design, QWidget* parent);

// Lays out a window as designed: title, colour, fixed client size, designed
// position, its controls and their Tab order.
void applyWindowDesign(const WindowDesign& design, QWidget* window);

QColor toQColor(Colour colour);

} // namespace velitar::ui
