// SPDX-License-Identifier: GPL-3.0-or-later
// What a Windows screen reader is told when the focus moves: a UI Automation
// client, as a screen reader is one, that listens for focus-changed events
// of every program on the desktop and writes, for each event, one line with
// what the focused element tells about itself:
//   milliseconds since the start, process id, control type, name,
//   FullDescription, HelpText, ItemStatus, value
// separated by tabs, UTF-8, each field with its tabs and line breaks written
// as \t and \n, and "-" for a property the element does not give (a value
// that cannot be read). The first line, "ready", is written once the client
// listens. It ends when the file named second exists.
// Usage: uia-focus.exe EVENTS-FILE STOP-FILE
//
// Properties are read with GetCurrentPropertyValueEx(id, FALSE, ...), which
// both Windows and Wine's UI Automation answer across processes.
//
// Every element and pattern the client is given is held until it ends, as a
// screen reader holds the object in focus. Under Wine, when the last reference
// to an object of another process goes, Wine's COM in that process stops
// serving the object's interface and waits, holding the lock of its
// registered interfaces, for that interface's calls in flight; one of them may
// be waiting for the program's window thread, which may itself be waiting for
// that lock to hand out the next focused element. Both then wait for ever (seen
// under load: the program stopped at a key, Wine reporting its window thread
// blocked on "dcom registered server interfaces"). Held, the objects go when
// the client ends, after the program.
#include <windows.h>

#include <uiautomation.h>

#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string utf8(const wchar_t* text, int length)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
    return out;
}

std::string field(std::string text)
{
    std::string out;
    for (char c : text) {
        if (c == '\t')
            out += "\\t";
        else if (c == '\n')
            out += "\\n";
        else if (c != '\r')
            out += c;
    }
    return out;
}

const char* controlType(long id)
{
    switch (id) {
    case UIA_ButtonControlTypeId:
        return "button";
    case UIA_ListControlTypeId:
        return "list";
    case UIA_ListItemControlTypeId:
        return "list item";
    case UIA_EditControlTypeId:
        return "edit";
    case UIA_TextControlTypeId:
        return "text";
    case UIA_WindowControlTypeId:
        return "window";
    case UIA_PaneControlTypeId:
        return "pane";
    default:
        return nullptr;
    }
}

// One property as text: a string as it is, a number in decimal, "-" when the
// element gives none.
std::string property(IUIAutomationElement* element, PROPERTYID id)
{
    VARIANT v;
    VariantInit(&v);
    std::string text = "-";
    if (SUCCEEDED(element->GetCurrentPropertyValueEx(id, FALSE, &v))) {
        if (v.vt == VT_BSTR && v.bstrVal)
            text = field(utf8(v.bstrVal, static_cast<int>(SysStringLen(v.bstrVal))));
        else if (v.vt == VT_I4 && id == UIA_ControlTypePropertyId && controlType(v.lVal))
            text = controlType(v.lVal);
        else if (v.vt == VT_I4)
            text = std::to_string(v.lVal);
    }
    VariantClear(&v);
    return text;
}

// The objects the client was given, released when it ends.
class Held {
public:
    void keep(IUnknown* object)
    {
        object->AddRef();
        std::lock_guard lock(mutex_);
        objects_.push_back(object);
    }
    void releaseAll()
    {
        std::lock_guard lock(mutex_);
        for (IUnknown* object : objects_)
            object->Release();
        objects_.clear();
    }

private:
    std::mutex mutex_;
    std::vector<IUnknown*> objects_;
};
Held held;

// The value as the Value pattern gives it, "-" when it cannot be read.
std::string value(IUIAutomationElement* element)
{
    std::string text = property(element, UIA_ValueValuePropertyId);
    if (text != "-")
        return text;
    IUIAutomationValuePattern* pattern = nullptr;
    if (FAILED(element->GetCurrentPatternAs(UIA_ValuePatternId, IID_IUIAutomationValuePattern,
                                            reinterpret_cast<void**>(&pattern))) ||
        !pattern)
        return text;
    BSTR current = nullptr;
    if (SUCCEEDED(pattern->get_CurrentValue(&current)) && current)
        text = field(utf8(current, static_cast<int>(SysStringLen(current))));
    SysFreeString(current);
    held.keep(pattern);
    pattern->Release();
    return text;
}

class FocusLog : public IUIAutomationFocusChangedEventHandler {
public:
    explicit FocusLog(FILE* out) : out_(out), started_(std::chrono::steady_clock::now()) {}

    void line(const std::string& text)
    {
        std::lock_guard lock(mutex_);
        std::fputs((text + '\n').c_str(), out_);
        std::fflush(out_);
    }

    HRESULT STDMETHODCALLTYPE HandleFocusChangedEvent(IUIAutomationElement* sender) override
    {
        if (!sender)
            return S_OK;
        held.keep(sender);
        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started_);
        line(std::to_string(ms.count()) + '\t' + property(sender, UIA_ProcessIdPropertyId) + '\t' +
             property(sender, UIA_ControlTypePropertyId) + '\t' + property(sender, UIA_NamePropertyId) + '\t' +
             property(sender, UIA_FullDescriptionPropertyId) + '\t' + property(sender, UIA_HelpTextPropertyId) + '\t' +
             property(sender, UIA_ItemStatusPropertyId) + '\t' + value(sender));
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (riid == IID_IUnknown || riid == IID_IUIAutomationFocusChangedEventHandler) {
            *object = static_cast<IUIAutomationFocusChangedEventHandler*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // Lives as long as the program.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

private:
    FILE* out_;
    std::chrono::steady_clock::time_point started_;
    std::mutex mutex_;
};

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) {
        std::fputs("usage: uia-focus.exe EVENTS-FILE STOP-FILE\n", stderr);
        return 2;
    }
    FILE* out = _wfopen(argv[1], L"wb");
    if (!out)
        return 1;
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    IUIAutomation* automation = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_CUIAutomation, nullptr, CLSCTX_INPROC_SERVER, IID_IUIAutomation,
                                  reinterpret_cast<void**>(&automation));
    FocusLog log(out);
    if (SUCCEEDED(hr))
        hr = automation->AddFocusChangedEventHandler(nullptr, &log);
    if (FAILED(hr)) {
        log.line("failed " + std::to_string(static_cast<unsigned long>(hr)));
        return 1;
    }
    log.line("ready");
    while (GetFileAttributesW(argv[2]) == INVALID_FILE_ATTRIBUTES)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    automation->RemoveFocusChangedEventHandler(&log);
    held.releaseAll();
    automation->Release();
    CoUninitialize();
    std::fclose(out);
    return 0;
}
