// SPDX-License-Identifier: GPL-3.0-or-later
// In a browser the windows are drawn into a canvas, and a screen reader knows
// only what the page's own elements say. Qt's platform there builds such
// elements only after a hidden English button «Enable Screen Reader» has been
// pressed, and knows no list, no list item and no description. So the
// program keeps its own: in each window's part of the page, behind the
// window's picture, one element for each control, made from the control's
// accessible object (its role, name, description, value and state, the
// options of a list), and the browser's focus on the element of the control
// that has the program's focus. Qt's button is hidden, and so are Qt's other
// elements that would say nothing (its box for input methods, the title bar's
// pictures).
//
// The window's elements are brought up to date after every event the browser
// gives the program (a key, a click, a tap) and every accessibility event, as
// soon as it has been handled (a microtask), before the browser draws its
// next frame. The keys still reach the program as before: the focused
// element is inside the window's element, which takes the keys.
//
// The window is an application (role "application"), so that a screen
// reader leaves its browse mode and passes every key on to the program; the
// answer lists are list boxes ("listbox", the current option named by
// "aria-activedescendant"), the buttons buttons, the text boxes read-only
// text boxes, the labels plain text.
#include "ui/PlatformAccessibility.h"

#include "ui/Accessibility.h"

#include <emscripten/bind.h>
#include <emscripten/emscripten.h>
#include <emscripten/val.h>

#include <QAbstractScrollArea>
#include <QAccessible>
#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace velitar::ui {

namespace {

using emscripten::val;

QAccessible::UpdateHandler passOn = nullptr;
bool syncQueued = false;
// The element last given the browser's focus.
std::string focusedElement;
// The elements of hidden controls kept for a while, until when (ms).
std::map<std::string, double> hideAfter;
constexpr double kHideAfterFocusLeft = 1000;

std::string utf8(const QString& text) { return text.toStdString(); }

std::string elementId(QAccessible::Id id) { return "velitar-a11y-" + std::to_string(id); }

// The part of the page that Qt keeps for the window's accessible elements.
val container(QWidget* window)
{
    if (!window->windowHandle() || !window->windowHandle()->handle())
        return val::undefined();
    const val host = val::global("document").call<val>("getElementById", std::string("qt-shadow-container"));
    if (host.isNull() || host["shadowRoot"].isNull())
        return val::undefined();
    const val element =
        host["shadowRoot"].call<val>("getElementById", "qt-window-" + std::to_string(window->windowHandle()->winId()));
    if (element.isNull())
        return val::undefined();
    // The title bar's pictures say nothing to a screen reader: its caption does.
    const val pictures = element.call<val>("querySelectorAll", std::string("img:not([alt])"));
    for (int i = 0; i < pictures["length"].as<int>(); ++i)
        pictures[i].call<void>("setAttribute", std::string("alt"), std::string());
    const val found = element.call<val>("querySelector", std::string(".qt-window-a11y-container"));
    return found.isNull() ? val::undefined() : found;
}

// Whether it changed.
bool setAttribute(val element, const char* name, const std::string& value)
{
    const val now = element.call<val>("getAttribute", std::string(name));
    if (value.empty()) {
        if (now.isNull())
            return false;
        element.call<void>("removeAttribute", std::string(name));
    } else if (now.isNull() || now.as<std::string>() != value) {
        element.call<void>("setAttribute", std::string(name), value);
    } else {
        return false;
    }
    return true;
}

void setText(val element, const std::string& text)
{
    if (element["textContent"].as<std::string>() != text)
        element.set("textContent", text);
}

// An element of the kind the control's role asks for, in the window's
// element: made once, found again by its id.
val ensureElement(const val& parent, QAccessibleInterface* control, const std::string& id)
{
    val element = parent.call<val>("querySelector", "#" + id);
    if (!element.isNull())
        return element;
    const val document = parent["ownerDocument"];
    const QAccessible::Role role = control->role();
    // All of them plain elements with a role: a browser's own button would
    // also answer Enter and Space itself, as the program's buttons do not.
    element = document.call<val>("createElement", std::string("div"));
    element.set("id", id);
    switch (role) {
    case QAccessible::Button:
        element.call<void>("setAttribute", std::string("role"), std::string("button"));
        break;
    case QAccessible::List:
        element.call<void>("setAttribute", std::string("role"), std::string("listbox"));
        break;
    case QAccessible::ListItem:
        element.call<void>("setAttribute", std::string("role"), std::string("option"));
        break;
    case QAccessible::EditableText:
        element.call<void>("setAttribute", std::string("role"), std::string("textbox"));
        element.call<void>("setAttribute", std::string("aria-readonly"), std::string("true"));
        break;
    default:
        break;
    }
    if (control->state().focusable)
        element.call<void>("setAttribute", std::string("tabindex"), std::string("-1"));
    if (role == QAccessible::Button || role == QAccessible::ListItem)
        element.call<void>("addEventListener", std::string("click"), val::module_property("velitarA11yClick"));
    parent.call<void>("appendChild", element);
    return element;
}

// The control's element brought up to date; a list's with its options.
void syncControl(const val& parent, QAccessibleInterface* control, QWidget* window, const std::string& id,
                 std::vector<val>& gone, std::vector<std::string>& described)
{
    val element = ensureElement(parent, control, id);
    const QAccessible::State state = control->state();
    if (state.invisible) {
        if (!element["hidden"].as<bool>())
            gone.push_back(element);
        return;
    }
    hideAfter.erase(id);
    element.set("hidden", false);
    const QAccessible::Role role = control->role();
    const QString name = control->text(QAccessible::Name);
    if (role == QAccessible::Button || role == QAccessible::StaticText || role == QAccessible::ListItem)
        setText(element, utf8(name));
    else
        setAttribute(element, "aria-label", utf8(name));
    if (setAttribute(element, "aria-description", utf8(control->text(QAccessible::Description))))
        described.push_back(id);
    if (role == QAccessible::EditableText)
        setText(element, utf8(control->text(QAccessible::Value)));
    if (role == QAccessible::ListItem)
        setAttribute(element, "aria-selected", state.selected ? "true" : "false");
    // Behind the control's picture, as large, for a screen reader that
    // shows where it reads or is guided by touch.
    const QRect rect = control->rect();
    const QPoint at = window->mapFromGlobal(rect.topLeft());
    val style = element["style"];
    style.set("position", std::string("absolute"));
    style.set("left", std::to_string(at.x()) + "px");
    style.set("top", std::to_string(at.y()) + "px");
    style.set("width", std::to_string(rect.width()) + "px");
    style.set("height", std::to_string(rect.height()) + "px");
    if (role == QAccessible::List) {
        std::string current;
        for (int row = 0; row < control->childCount(); ++row) {
            QAccessibleInterface* option = control->child(row);
            if (!option || option->role() != QAccessible::ListItem)
                continue;
            const std::string optionId = id + "-" + std::to_string(row);
            syncControl(element, option, window, optionId, gone, described);
            if (option->state().focused)
                current = optionId;
        }
        setAttribute(element, "aria-activedescendant", current);
    }
}

// The window's elements brought up to date, and the browser's focus where
// the program's is.
void syncWindow(QWidget* window)
{
    const val holder = container(window);
    if (holder.isUndefined())
        return;
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(window);
    if (!iface)
        return;
    const std::string rootId = elementId(QAccessible::uniqueId(iface));
    // Qt's own button is hidden: its English, its switch.
    const val others = holder["children"];
    for (int i = 0; i < others["length"].as<int>(); ++i) {
        if (others[i]["id"].as<std::string>() != rootId)
            others[i].set("hidden", true);
    }
    val root = holder.call<val>("querySelector", "#" + rootId);
    if (root.isNull()) {
        root = holder["ownerDocument"].call<val>("createElement", std::string("div"));
        root.set("id", rootId);
        root.call<void>("setAttribute", std::string("role"), std::string("application"));
        root.call<void>("appendChild", holder["ownerDocument"].call<val>("createElement", std::string("div")));
        holder.call<void>("appendChild", root);
    }
    const val controls = root["firstElementChild"];
    // (Qt gives the browser's focus to a box of its own whenever the
    // program's focus moves, so the element given it last is remembered.)
    const std::string hadFocus = focusedElement;
    std::vector<val> gone;
    std::vector<std::string> described;
    for (int i = 0; i < iface->childCount(); ++i) {
        if (QAccessibleInterface* control = iface->child(i))
            syncControl(controls, control, window, elementId(QAccessible::uniqueId(control)), gone, described);
    }
    QWidget* focused = QApplication::focusWidget();
    if (window == QApplication::activeWindow() && focused && focused->window() == window) {
        const std::string id = elementId(QAccessible::uniqueId(QAccessible::queryAccessibleInterface(focused)));
        val element = root.call<val>("querySelector", "#" + id);
        const val shadow = holder.call<val>("getRootNode");
        if (!element.isNull() && !(shadow["activeElement"] == element)) {
            // A control described anew as the focus comes to it (the score
            // box after the last answer) gets a new element: a screen reader
            // hears of the description's change after the focus and would
            // read it twice (Orca 43 in Chromium did).
            if (std::find(described.begin(), described.end(), id) != described.end()) {
                const val fresh = element.call<val>("cloneNode", true);
                element.call<void>("replaceWith", fresh);
                element = fresh;
                if (element.call<bool>("matches", std::string("[role=button], [role=option]")))
                    element.call<void>("addEventListener", std::string("click"),
                                       val::module_property("velitarA11yClick"));
            }
            val options = val::object();
            options.set("preventScroll", true);
            element.call<void>("focus", options);
            focusedElement = element["id"].as<std::string>();
        }
    }
    // An element that had the focus goes a while after the focus has left
    // it. A screen reader that learns of both in the same news from the
    // browser reads them in the wrong order: with the focus's old place gone,
    // it looks for the focus itself and then takes the real move for old
    // news, saying nothing (Orca 48 in Chromium, 1 step in about 20).
    const double now = emscripten_get_now();
    for (val& element : gone) {
        const std::string id = element["id"].as<std::string>();
        auto later = hideAfter.find(id);
        if (later == hideAfter.end() && id == hadFocus)
            later = hideAfter.emplace(id, now + kHideAfterFocusLeft).first;
        if (later != hideAfter.end() && now < later->second) {
            val::global("setTimeout")(val::module_property("velitarA11ySync"), later->second - now);
            continue;
        }
        hideAfter.erase(id);
        element.set("hidden", true);
    }
}

// A window that becomes active is told by its name, as a desktop's screen
// reader tells a window's title. A screen reader in a page tells the
// container the focus enters only while the control that had the focus
// still exists, and the window that had it is gone by then: so the name goes
// to a line of the page that a screen reader reads when it changes.
void announceWindow(QWidget* active)
{
    static QPointer<QWidget> announced;
    if (!active || active == announced)
        return;
    announced = active;
    val document = val::global("document");
    val status = document.call<val>("getElementById", std::string("velitar-window-name"));
    if (status.isNull()) {
        status = document.call<val>("createElement", std::string("div"));
        status.set("id", std::string("velitar-window-name"));
        // A live region without a role: Orca names a status line's role in
        // English.
        status.call<void>("setAttribute", std::string("aria-live"), std::string("polite"));
        // Out of sight, not out of a screen reader's reach.
        val style = status["style"];
        style.set("position", std::string("absolute"));
        style.set("width", std::string("1px"));
        style.set("height", std::string("1px"));
        style.set("overflow", std::string("hidden"));
        style.set("clipPath", std::string("inset(50%)"));
        style.set("whiteSpace", std::string("nowrap"));
        document["body"].call<void>("appendChild", status);
    }
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(active);
    status.set("textContent", iface ? utf8(iface->text(QAccessible::Name)) : std::string());
}

void sync()
{
    syncQueued = false;
    // Qt's box for text input methods, which no control of the program uses,
    // would stand in the page as a text box without a name.
    const val page = val::global("document")["body"]["children"];
    for (int i = 0; i < page["length"].as<int>(); ++i) {
        if (!page[i]["data-qinputcontext"].isUndefined())
            setAttribute(page[i], "aria-hidden", "true");
    }
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible())
            syncWindow(window);
    }
    announceWindow(QApplication::activeWindow());
}

void queueSync()
{
    if (syncQueued)
        return;
    syncQueued = true;
    val::global("queueMicrotask")(val::module_property("velitarA11ySync"));
}

// A screen reader's click on a button's or an option's element (its
// "activate"): a button is pressed, an option clicked as with the mouse.
void click(val event)
{
    const std::string id = event["currentTarget"]["id"].as<std::string>();
    const std::string prefix = "velitar-a11y-";
    if (id.rfind(prefix, 0) != 0)
        return;
    const std::string rest = id.substr(prefix.size());
    const std::size_t dash = rest.find('-');
    QAccessibleInterface* control =
        QAccessible::accessibleInterface(static_cast<QAccessible::Id>(std::stoul(rest.substr(0, dash))));
    if (!control)
        return;
    if (dash == std::string::npos) {
        if (QAccessibleActionInterface* action = control->actionInterface())
            action->doAction(QAccessibleActionInterface::pressAction());
        return;
    }
    QAccessibleInterface* option = control->child(std::stoi(rest.substr(dash + 1)));
    auto* list = qobject_cast<QAbstractScrollArea*>(control->object());
    if (!option || !list)
        return;
    QWidget* viewport = list->viewport();
    const QPoint at = viewport->mapFromGlobal(option->rect().center());
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent mouse(type, at, viewport->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &mouse);
    }
    event.call<void>("preventDefault");
}

// After every event from the browser, once it has been handled.
class SyncAfterEvents : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->spontaneous())
            queueSync();
        return false;
    }
};

void syncAfterAccessibilityEvent(QAccessibleEvent* event)
{
    queueSync();
    passOnAccessibilityEvent(passOn, event);
}

void installSyncAfterEvents()
{
    auto* filter = new SyncAfterEvents;
    filter->setParent(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(filter);
}
Q_COREAPP_STARTUP_FUNCTION(installSyncAfterEvents)

} // namespace

void adaptPlatformAccessibility() { passOn = QAccessible::installUpdateHandler(syncAfterAccessibilityEvent); }

EMSCRIPTEN_BINDINGS(velitar_accessibility)
{
    emscripten::function("velitarA11ySync", &sync);
    emscripten::function("velitarA11yClick", &click);
}

} // namespace velitar::ui
