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

class Label : public QLabel {
    Q_OBJECT
public:
    explicit Label(QWidget* parent = nullptr);
};

class ListBox : public QListWidget {
    Q_OBJECT
public:
    explicit ListBox(QWidget* parent = nullptr);

    void AddItem(const QString& text) { addItem(text); }
    int ListIndex() const; // -1 when nothing is selected
    QString Text() const;  // the selected item's text, empty when none

signals:
    // Raised once for every change of the selection, by mouse or keyboard.
    void Click();

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    bool focusing_ = false;
};

// Single-line, read-only.
class TextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent = nullptr);
};

// Multi-line, read-only, word-wrapped, no scroll bars. It keeps the text it
// was given (line breaks as CR LF included) and shows CR LF as a line break.
class MultiLineTextBox : public QPlainTextEdit {
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText)
public:
    explicit MultiLineTextBox(QWidget* parent = nullptr);

    QString text() const { return text_; }
    void setText(const QString& text);

private:
    QString text_;
};

class Button : public QPushButton {
    Q_OBJECT
public:
    explicit Button(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// Creates the control a design describes, as a child of parent, in its
// designed box, colours, font, caption and visibility.
QWidget* createControl(const ControlDesign& design, QWidget* parent);

// Lays out a window as designed: title, colour, fixed client size, designed
// position, its controls and their Tab order.
void applyWindowDesign(const WindowDesign& design, QWidget* window);

QColor toQColor(Colour colour);

} // namespace velitar::ui
