// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Controls.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTextLayout>
#include <algorithm>

#include "ui/Accessibility.h"
#include "ui/Appearance.h"

namespace velitar::ui {

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

// A window's own font, which its controls keep unless their design names one.
constexpr FontDesign kWindowFont{Face::SansSerif, 8.25};

QRect pixels(const Box& box)
{
    return {box.left / kTwipsPerPixel, box.top / kTwipsPerPixel, box.width / kTwipsPerPixel,
            box.height / kTwipsPerPixel};
}

} // namespace

QColor toQColor(Colour colour)
{
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

Label::Label(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText); // runs of blanks stay as they are
    setWordWrap(true);
    setAlignment(Qt::AlignTop | Qt::AlignLeft);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::NoFocus);
    setIndent(0);
    setMargin(0);
}

void Label::setBordered(bool bordered)
{
    bordered_ = bordered;
    const int inset = bordered ? 1 : 0;
    setContentsMargins(inset, inset, inset, inset);
    update();
}

void Label::paintEvent(QPaintEvent*)
{
    // The text is laid out here rather than by QLabel, whose line pitch
    // follows the toolkit's idea of the font's leading: the lines break as
    // QLabel breaks them (word wrap inside the contents rectangle, cut at its
    // edges) and stand linePitch() apart, from the top.
    QPainter painter(this);
    const QRect box = contentsRect();
    QString shown = text();
    shown.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextLayout layout(shown, font(), this);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.setCacheEnabled(true);
    const int pitch = linePitch(font());
    layout.beginLayout();
    for (int n = 0;; ++n) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(box.width());
        line.setPosition(QPointF(0, n * pitch));
    }
    layout.endLayout();
    painter.save();
    painter.setClipRect(box, Qt::IntersectClip);
    painter.setPen(palette().color(foregroundRole()));
    for (int n = 0; n < layout.lineCount(); ++n) {
        const QTextLine line = layout.lineAt(n);
        const qreal x = alignment() & Qt::AlignHCenter ? (box.width() - line.horizontalAdvance()) / 2 : 0;
        line.draw(&painter, QPointF(box.x() + x, box.y()));
    }
    painter.restore();
    if (!bordered_)
        return;
    // Drawn as four one-pixel strips so that it scales with the window.
    const QColor colour = borderColour();
    const int w = width(), h = height();
    painter.fillRect(0, 0, w, 1, colour);
    painter.fillRect(0, h - 1, w, 1, colour);
    painter.fillRect(0, 0, 1, h, colour);
    painter.fillRect(w - 1, 0, 1, h, colour);
}

ListBox::ListBox(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        if (ListIndex() >= 0)
            emit Click();
    });
}

void ListBox::AddItem(const QString& text)
{
    auto* item = new QListWidgetItem(text);
    // The row is exactly as high as the design assumes. Its width is not
    // measured: a row of a single-column list spans the list whenever its
    // text fits, as every option does, so the text need not be laid out (nor
    // its font loaded) when the list lays out its rows, before the window
    // shows. The list's own delegate takes the size from the item as it is.
    if (rowHeight_ > 0)
        item->setSizeHint(QSize(0, rowHeight_));
    addItem(item);
}

int ListBox::ListIndex() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

QString ListBox::Text() const
{
    const int row = ListIndex();
    return row < 0 ? QString() : item(row)->text();
}

void ListBox::keyboardSearch(const QString& search)
{
    const int n = count();
    if (search.isEmpty() || n == 0)
        return;
    const int from = currentIndex().isValid() ? currentRow() + 1 : 0;
    for (int i = 0; i < n; ++i) {
        const int row = (from + i) % n;
        if (item(row)->text().startsWith(search, Qt::CaseInsensitive)) {
            choose(row);
            return;
        }
    }
}

void ListBox::focusInEvent(QFocusEvent* event)
{
    // Taking the focus must not make a row current: the first arrow key then
    // selects the first option, as a classic list box does.
    focusing_ = true;
    QListWidget::focusInEvent(event);
    focusing_ = false;
    viewport()->update();
}

void ListBox::focusOutEvent(QFocusEvent* event)
{
    QListWidget::focusOutEvent(event);
    viewport()->update();
}

void ListBox::paintEvent(QPaintEvent* event)
{
    QListWidget::paintEvent(event);
    // With the focus and no option chosen yet, the dotted focus frame stands
    // on the option Space or Enter would choose: the first, unless Ctrl with
    // an arrow has moved it.
    if (!hasFocus() || ListIndex() >= 0 || count() == 0)
        return;
    QPainter painter(viewport());
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = visualRect(currentIndex().isValid() ? currentIndex() : model()->index(0, 0));
    focus.backgroundColor = palette().color(QPalette::Base);
    focus.state |= QStyle::State_KeyboardFocusChange; // shown from the start, as classic lists do
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
}

void ListBox::keyPressEvent(QKeyEvent* event)
{
    // Until an option is chosen, the list handles the moving keys itself:
    // - plain, they choose at once, as a classic list box does: with the
    //   focus frame not moved yet, an arrow, Home or Page Up the first option
    //   and End or Page Down the last; after the frame was moved, the option
    //   next to it, or the first or last;
    // - with Ctrl, they only move the focus frame, and Space or Enter chooses
    //   the option in the frame; so every option, not only the first, the
    //   last and those a letter finds, can be chosen from the keyboard.
    const int n = count();
    if (ListIndex() >= 0 || n == 0) {
        QListWidget::keyPressEvent(event);
        return;
    }
    const bool moved = currentIndex().isValid();
    const int framed = moved ? currentRow() : 0;
    int next = -1;     // the option next to the frame, or the first or last
    bool last = false; // End and Page Down
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        next = std::max(framed - 1, 0);
        break;
    case Qt::Key_Down:
    case Qt::Key_Right:
        next = std::min(framed + 1, n - 1);
        break;
    case Qt::Key_Home:
    case Qt::Key_PageUp:
        next = 0;
        break;
    case Qt::Key_End:
    case Qt::Key_PageDown:
        next = n - 1;
        last = true;
        break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!event->isAutoRepeat())
            choose(framed);
        event->accept();
        return;
    default:
        QListWidget::keyPressEvent(event); // letters, Tab
        return;
    }
    if (event->modifiers().testFlag(Qt::ControlModifier)) {
        selectionModel()->setCurrentIndex(model()->index(next, 0), QItemSelectionModel::NoUpdate);
        scrollTo(currentIndex());
        viewport()->update();
    } else {
        choose(moved ? next : (last ? n - 1 : 0));
    }
    event->accept();
}

void ListBox::choose(int row)
{
    // The option becomes current first, while the list still has the focus,
    // and is selected after: the selection answers, and the answer moves the
    // focus away. The other order would announce the option of a list that
    // is gone, after the focus had already moved on.
    const QModelIndex index = model()->index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
}

QModelIndex ListBox::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    // Taking the focus must not make a row current (see focusInEvent).
    if (focusing_)
        return {};
    return QListWidget::moveCursor(action, modifiers);
}

namespace {

// Where the accessibility events go on to: the handler installed before the
// text boxes' own, or none (the platform's bridge).
QAccessible::UpdateHandler passOn = nullptr;

bool changesText(QAccessible::Event type)
{
    return type == QAccessible::TextInserted || type == QAccessible::TextRemoved || type == QAccessible::TextUpdated ||
           type == QAccessible::TextCaretMoved || type == QAccessible::TextSelectionChanged ||
           type == QAccessible::ValueChanged;
}

// A new text puts the line's caret at its end, and the toolkit reports that
// as a caret move. A screen reader takes a caret that moves in a focused
// text box for the user moving in it (Orca does so with a text change too,
// when it stands on the box's window): it asks whether the box has the focus
// only when it gets round to the event, and after the last answer the focus
// has come to the score box by then, in the same step. It then counts the box
// as reached already and says nothing when the box's focus event comes, so
// the final caption would go unheard. A screen reader says nothing of a box
// that changes without the focus anyway (measured with Orca), so nothing of
// it is sent: when the focus comes, the box is read as it is then.
// Decided for each event as it comes, with no state of its own, so that a
// text set by any way (a QLineEdit pointer, a signal) is held back alike and
// a text set while another is being set is handled the same.
void withholdUnfocusedTextBoxes(QAccessibleEvent* event)
{
    const auto* box = qobject_cast<const TextBox*>(event->object());
    if (box && !box->hasFocus() && changesText(event->type()))
        return;
    passOnAccessibilityEvent(passOn, event);
}

} // namespace

TextBox::TextBox(QWidget* parent) : QLineEdit(parent)
{
    setReadOnly(true);
    setFocusPolicy(Qt::StrongFocus);
    static const bool withholding = [] {
        passOn = QAccessible::installUpdateHandler(withholdUnfocusedTextBoxes);
        return true;
    }();
    Q_UNUSED(withholding);
}

void TextBox::focusInEvent(QFocusEvent* event)
{
    // QLineEdit selects all its text when Tab brings the focus; this box
    // takes the focus as if by any other way, which selects nothing.
    QFocusEvent plain(event->type(), Qt::OtherFocusReason);
    QLineEdit::focusInEvent(&plain);
}

MultiLineTextBox::MultiLineTextBox(QWidget* parent) : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setFocusPolicy(Qt::StrongFocus);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    document()->setDocumentMargin(2);
}

void MultiLineTextBox::wheelEvent(QWheelEvent* event) { event->ignore(); }

void MultiLineTextBox::setText(const QString& text)
{
    text_ = text;
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    setPlainText(shown);
}

Button::Button(QWidget* parent) : QPushButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAutoDefault(false);
}

void Button::keyPressEvent(QKeyEvent* event)
{
    // Enter presses the focused button, as Space does.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (!event->isAutoRepeat())
            click();
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

QRect Button::captionRect() const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    QRect rect = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    if (isDown() || isChecked()) {
        rect.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                       style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    }
    return rect;
}

void Button::paintEvent(QPaintEvent*)
{
    // As QPushButton paints itself, but with a caption that may wrap.
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    painter.drawControl(QStyle::CE_PushButtonBevel, option);
    painter.drawItemText(captionRect(), kCaptionFlags, option.palette, isEnabled(), text(), QPalette::ButtonText);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.rect = style()->subElementRect(QStyle::SE_PushButtonFocusRect, &option, this);
        focus.backgroundColor = option.palette.button().color();
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

bool HandlerFocus::focusHidden() const
{
    const QWidget* focused = window_->focusWidget();
    return focused && focused != window_ && !focused->isVisibleTo(window_);
}

bool HandlerFocus::holding() const { return running_ && focusHidden(); }

bool HandlerFocus::place(QWidget* target)
{
    if (!focusHidden())
        return true;
    if (!target || !target->isVisibleTo(window_))
        return false;
    target->setFocus(Qt::OtherFocusReason);
    return true;
}

QWidget* createControl(const ControlDesign& design, QWidget* parent)
{
    QWidget* widget = nullptr;
    QPalette palette;
    const QColor back = toQColor(design.back);
    switch (design.kind) {
    case Kind::Label: {
        auto* label = new Label(parent);
        if (design.centred)
            label->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
        label->setBordered(design.bordered);
        palette.setColor(QPalette::Window, back);
        if (design.hasFore)
            palette.setColor(QPalette::WindowText, toQColor(design.fore));
        widget = label;
        break;
    }
    case Kind::List: {
        auto* list = new ListBox(parent);
        list->setRowHeight(listRowHeight(design.font));
        list->setUniformItemSizes(true);
        palette.setColor(QPalette::Base, back);
        widget = list;
        break;
    }
    case Kind::TextBox:
    case Kind::MultiLineTextBox:
        widget = design.kind == Kind::TextBox ? static_cast<QWidget*>(new TextBox(parent))
                                              : static_cast<QWidget*>(new MultiLineTextBox(parent));
        palette.setColor(QPalette::Base, back);
        if (design.hasFore)
            palette.setColor(QPalette::Text, toQColor(design.fore));
        break;
    case Kind::Button:
        widget = new Button(parent);
        palette.setColor(QPalette::Button, back);
        break;
    }
    widget->setObjectName(qs(design.name));
    widget->setPalette(palette);
    widget->setFont(fontFor(design.font));
    widget->setGeometry(pixels(design.box));
    // The text comes last, so that it is laid out once, in its own font and box.
    const QString text = qs(design.text);
    switch (design.kind) {
    case Kind::Label:
        static_cast<Label*>(widget)->setText(text);
        break;
    case Kind::List:
        break; // a list's items come from its window's Form_Load
    case Kind::TextBox:
        static_cast<QLineEdit*>(widget)->setText(text);
        break;
    case Kind::MultiLineTextBox:
        static_cast<MultiLineTextBox*>(widget)->setText(text);
        break;
    case Kind::Button:
        static_cast<Button*>(widget)->setText(text);
        break;
    }
    widget->setVisible(design.visible);
    return widget;
}

void applyWindowDesign(const WindowDesign& design, QWidget* window)
{
    window->setObjectName(qs(design.name));
    window->setWindowTitle(qs(design.caption));
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, toQColor(design.back));
    window->setPalette(palette);
    window->setAutoFillBackground(true);
    window->setFont(fontFor(kWindowFont));
    // A fixed frame: a title with the system menu, minimise and close, no
    // maximise; the client area keeps its designed size.
    window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    window->setGeometry(design.originLeft / kTwipsPerPixel, design.originTop / kTwipsPerPixel,
                        design.clientWidth / kTwipsPerPixel, design.clientHeight / kTwipsPerPixel);
    window->setFixedSize(design.clientWidth / kTwipsPerPixel, design.clientHeight / kTwipsPerPixel);

    struct Stop {
        int tabIndex;
        QWidget* widget;
        bool visible;
    };
    std::vector<Stop> stops;
    for (const ControlDesign& c : design.controls) {
        QWidget* widget = createControl(c, window);
        if (c.kind == Kind::Label)
            continue; // labels never take the focus
        if (c.tabIndex < 0)
            widget->setFocusPolicy(Qt::ClickFocus);
        else
            stops.push_back({c.tabIndex, widget, c.visible});
    }
    std::sort(stops.begin(), stops.end(), [](const Stop& a, const Stop& b) { return a.tabIndex < b.tabIndex; });
    for (std::size_t i = 1; i < stops.size(); ++i)
        QWidget::setTabOrder(stops[i - 1].widget, stops[i].widget);

    // The focus starts on the visible control with the lowest tab index.
    auto first = std::find_if(stops.begin(), stops.end(), [](const Stop& s) { return s.visible; });
    if (first != stops.end())
        first->widget->setFocus();
}

} // namespace velitar::ui
