#include "ui/Controls.h"

#include <QKeyEvent>
#include <QStyledItemDelegate>
#include <algorithm>

#include "ui/Appearance.h"

namespace velitar::ui {

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

QRect pixels(const Box& box)
{
    return {box.left / kTwipsPerPixel, box.top / kTwipsPerPixel, box.width / kTwipsPerPixel,
            box.height / kTwipsPerPixel};
}

// Every row of a list is exactly as high as the design assumes.
class FixedRowDelegate : public QStyledItemDelegate {
public:
    FixedRowDelegate(int rowHeight, QObject* parent) : QStyledItemDelegate(parent), rowHeight_(rowHeight) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(rowHeight_);
        return size;
    }

private:
    int rowHeight_;
};

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

void ListBox::focusInEvent(QFocusEvent* event)
{
    // Taking the focus must not make a row current: the first arrow key then
    // selects the first option, as a classic list box does.
    focusing_ = true;
    QListWidget::focusInEvent(event);
    focusing_ = false;
}

QModelIndex ListBox::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    if (focusing_)
        return {};
    if (!currentIndex().isValid() && count() > 0) {
        switch (action) {
        case MoveEnd:
        case MovePageDown:
            return model()->index(count() - 1, 0);
        case MoveUp:
        case MoveDown:
        case MoveHome:
        case MovePageUp:
        case MoveLeft:
        case MoveRight:
            return model()->index(0, 0);
        default:
            break;
        }
    }
    return QListWidget::moveCursor(action, modifiers);
}

TextBox::TextBox(QWidget* parent) : QLineEdit(parent)
{
    setReadOnly(true);
    setFocusPolicy(Qt::StrongFocus);
}

MultiLineTextBox::MultiLineTextBox(QWidget* parent) : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setFocusPolicy(Qt::StrongFocus);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    document()->setDocumentMargin(2);
}

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

QWidget* createControl(const ControlDesign& design, QWidget* parent)
{
    QWidget* widget = nullptr;
    QPalette palette;
    const QColor back = toQColor(design.back);
    switch (design.kind) {
    case Kind::Label: {
        auto* label = new Label(parent);
        label->setText(qs(design.text));
        if (design.centred)
            label->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
        if (design.bordered)
            label->setFrameStyle(QFrame::Box | QFrame::Plain);
        palette.setColor(QPalette::Window, back);
        if (design.hasFore)
            palette.setColor(QPalette::WindowText, toQColor(design.fore));
        widget = label;
        break;
    }
    case Kind::List: {
        auto* list = new ListBox(parent);
        list->setItemDelegate(new FixedRowDelegate(listRowHeight(design.font), list));
        list->setUniformItemSizes(true);
        palette.setColor(QPalette::Base, back);
        widget = list;
        break;
    }
    case Kind::TextBox: {
        auto* box = new TextBox(parent);
        box->setText(qs(design.text));
        palette.setColor(QPalette::Base, back);
        if (design.hasFore)
            palette.setColor(QPalette::Text, toQColor(design.fore));
        widget = box;
        break;
    }
    case Kind::MultiLineTextBox: {
        auto* box = new MultiLineTextBox(parent);
        box->setText(qs(design.text));
        palette.setColor(QPalette::Base, back);
        if (design.hasFore)
            palette.setColor(QPalette::Text, toQColor(design.fore));
        widget = box;
        break;
    }
    case Kind::Button: {
        auto* button = new Button(parent);
        button->setText(qs(design.text));
        palette.setColor(QPalette::Button, back);
        widget = button;
        break;
    }
    }
    widget->setObjectName(qs(design.name));
    widget->setPalette(palette);
    widget->setFont(fontFor(design.font));
    widget->setGeometry(pixels(design.box));
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
