// Reads Quorvale's windows through UI Automation, as a Windows screen reader does, and checks
// what they tell against what they must tell: the texts of tests/a11y/spoken.txt, which the
// Linux screen-reader check reads too.
//
// Usage: uia_check SPOKEN.txt main     the main window: panes, buttons and menus
//        uia_check SPOKEN.txt menu     the open Project menu's items
//        uia_check SPOKEN.txt about    the About dialog
//        uia_check SPOKEN.txt focus KEY...
//            prints "ready", then waits until the focus has moved to the controls named by
//            the texts KEY..., in that order (keys sent meanwhile by the caller)
// Prints what it read; exits 0 when everything matches, 1 when not, 2 when it cannot look.

#include <uiautomation.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace {

std::map<std::wstring, std::wstring> g_spoken;

std::string utf8(const std::wstring &text)
{
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
    return out;
}

std::wstring trimmed(const std::wstring &text)
{
    const auto first = text.find_first_not_of(L" \t\r\n");
    if (first == std::wstring::npos)
        return {};
    return text.substr(first, text.find_last_not_of(L" \t\r\n") - first + 1);
}

bool readSpoken(const wchar_t *path)
{
    FILE *file = _wfopen(path, L"rb");
    if (!file)
        return false;
    std::string all;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, file)) > 0;)
        all.append(buffer, n);
    fclose(file);
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, all.data(), static_cast<int>(all.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, all.data(), static_cast<int>(all.size()), text.data(), size);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos)
            end = text.size();
        const std::wstring line = text.substr(start, end - start);
        const size_t tab = line.find(L'\t');
        if (!line.empty() && line[0] != L'#' && tab != std::wstring::npos)
            g_spoken[line.substr(0, tab)] = trimmed(line.substr(tab + 1));
        start = end + 1;
    }
    return !g_spoken.empty();
}

// A text of spoken.txt by its key; a missing key is a fault of the check itself.
std::wstring spoken(const wchar_t *key)
{
    const auto found = g_spoken.find(key);
    if (found == g_spoken.end()) {
        std::printf("FAIL: spoken.txt has no text %s\n", utf8(key).c_str());
        std::exit(2);
    }
    return found->second;
}

std::wstring stringProperty(IUIAutomationElement *element, PROPERTYID id)
{
    VARIANT value;
    VariantInit(&value);
    std::wstring text;
    if (SUCCEEDED(element->GetCurrentPropertyValueEx(id, TRUE, &value)) && value.vt == VT_BSTR &&
        value.bstrVal)
        text = value.bstrVal;
    VariantClear(&value);
    return text;
}

bool boolProperty(IUIAutomationElement *element, PROPERTYID id)
{
    VARIANT value;
    VariantInit(&value);
    const bool set = SUCCEEDED(element->GetCurrentPropertyValueEx(id, TRUE, &value)) &&
                     value.vt == VT_BOOL && value.boolVal != VARIANT_FALSE;
    VariantClear(&value);
    return set;
}

std::wstring nameOf(IUIAutomationElement *element)
{
    BSTR name = nullptr;
    std::wstring text;
    if (SUCCEEDED(element->get_CurrentName(&name)) && name)
        text = name;
    SysFreeString(name);
    return text;
}

struct Element
{
    CONTROLTYPEID type = 0;
    std::wstring name;
    std::wstring accessKey;
    std::wstring description; // FullDescription
    std::wstring help;        // HelpText
    std::wstring id;          // AutomationId
    bool enabled = false;
};

const char *typeName(CONTROLTYPEID type)
{
    switch (type) {
    case UIA_ButtonControlTypeId:
        return "Button";
    case UIA_EditControlTypeId:
        return "Edit";
    case UIA_MenuItemControlTypeId:
        return "MenuItem";
    case UIA_MenuControlTypeId:
        return "Menu";
    case UIA_MenuBarControlTypeId:
        return "MenuBar";
    case UIA_HyperlinkControlTypeId:
        return "Hyperlink";
    case UIA_TextControlTypeId:
        return "Text";
    case UIA_WindowControlTypeId:
        return "Window";
    default:
        return "Other";
    }
}

void collect(IUIAutomationTreeWalker *walker, IUIAutomationElement *element,
             std::vector<Element> &found, int depth)
{
    Element e;
    element->get_CurrentControlType(&e.type);
    e.name = nameOf(element);
    e.accessKey = stringProperty(element, UIA_AccessKeyPropertyId);
    e.description = stringProperty(element, UIA_FullDescriptionPropertyId);
    e.help = stringProperty(element, UIA_HelpTextPropertyId);
    e.id = stringProperty(element, UIA_AutomationIdPropertyId);
    e.enabled = boolProperty(element, UIA_IsEnabledPropertyId);
    std::printf("%*s%s \"%s\" key \"%s\" description \"%s\" help \"%s\"%s\n", 2 * depth, "",
                typeName(e.type), utf8(e.name).c_str(), utf8(e.accessKey).c_str(),
                utf8(e.description).c_str(), utf8(e.help).c_str(), e.enabled ? "" : " disabled");
    found.push_back(e);
    if (depth > 16)
        return;
    IUIAutomationElement *child = nullptr;
    walker->GetFirstChildElement(element, &child);
    while (child) {
        collect(walker, child, found, depth + 1);
        IUIAutomationElement *next = nullptr;
        walker->GetNextSiblingElement(child, &next);
        child->Release();
        child = next;
    }
}

// The visible top-level windows of the process that shows `title` (the window itself, its
// dialogs and open menus), waiting up to 15 s for it.
std::vector<HWND> windowsBeside(const std::wstring &title)
{
    HWND shown = nullptr;
    for (int i = 0; i < 75 && !shown; ++i) {
        shown = FindWindowW(nullptr, title.c_str());
        if (!shown)
            Sleep(200);
    }
    std::vector<HWND> windows;
    if (!shown)
        return windows;
    struct Search
    {
        DWORD process;
        std::vector<HWND> *windows;
    } search{0, &windows};
    GetWindowThreadProcessId(shown, &search.process);
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto *s = reinterpret_cast<Search *>(data);
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process == s->process && IsWindowVisible(window))
                s->windows->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return windows;
}

struct Expected
{
    CONTROLTYPEID type;
    std::wstring name;
    std::wstring accessKey;
    std::wstring description; // FullDescription and HelpText alike
    bool enabled = true;
};

int checkTree(IUIAutomation *automation, const std::wstring &title,
              const std::vector<Expected> &expected)
{
    const std::vector<HWND> windows = windowsBeside(title);
    if (windows.empty()) {
        std::printf("FAIL: no window \"%s\"\n", utf8(title).c_str());
        return 1;
    }
    IUIAutomationCondition *all = nullptr;
    IUIAutomationTreeWalker *walker = nullptr;
    automation->CreateTrueCondition(&all);
    automation->CreateTreeWalker(all, &walker);
    std::vector<Element> found;
    for (HWND window : windows) {
        IUIAutomationElement *root = nullptr;
        if (SUCCEEDED(automation->ElementFromHandle(window, &root)) && root) {
            collect(walker, root, found, 0);
            root->Release();
        }
    }
    walker->Release();
    all->Release();

    int failures = 0;
    for (const Expected &want : expected) {
        const Element *match = nullptr;
        for (const Element &e : found)
            if (e.type == want.type && trimmed(e.name) == want.name)
                match = &e;
        if (!match) {
            std::printf("FAIL: no %s \"%s\"\n", typeName(want.type), utf8(want.name).c_str());
            ++failures;
            continue;
        }
        const bool right =
            match->accessKey == want.accessKey && trimmed(match->description) == want.description &&
            trimmed(match->help) == want.description && match->enabled == want.enabled;
        if (!right) {
            std::printf("FAIL: %s \"%s\" must have key \"%s\", description and help \"%s\"%s\n",
                        typeName(want.type), utf8(want.name).c_str(), utf8(want.accessKey).c_str(),
                        utf8(want.description).c_str(), want.enabled ? "" : ", disabled");
            ++failures;
        }
    }
    // The converters' scratch label is never presented.
    for (const Element &e : found)
        if (e.id.size() >= 9 && e.id.compare(e.id.size() - 9, 9, L"lblHIDDEN") == 0) {
            std::printf("FAIL: lblHIDDEN is in the tree\n");
            ++failures;
        }
    return failures == 0 ? 0 : 1;
}

int checkMain(IUIAutomation *automation)
{
    const bool hex = FindWindowW(nullptr, spoken(L"title_hex").c_str()) != nullptr;
    const std::wstring none;
    const std::vector<Expected> expected = {
        {UIA_WindowControlTypeId, spoken(hex ? L"title_hex" : L"title_ascii"), none, none},
        {UIA_EditControlTypeId, spoken(hex ? L"ascii_output" : L"ascii_input"), none,
         hex ? none : spoken(L"ascii_tip")},
        {UIA_EditControlTypeId, spoken(hex ? L"hex_input" : L"hex_output"), none,
         hex ? spoken(L"hex_tip") : none},
        {UIA_ButtonControlTypeId, spoken(L"clear_all"), L"Alt+A", none},
        {UIA_ButtonControlTypeId, spoken(hex ? L"copy_ascii" : L"copy_hex"), L"Alt+C", none},
        {UIA_ButtonControlTypeId, spoken(L"exit"), L"Alt+X", none},
        {UIA_MenuItemControlTypeId, spoken(L"project"), L"Alt+P", none},
        {UIA_MenuItemControlTypeId, spoken(L"mode"), L"Alt+M", none},
    };
    return checkTree(automation, spoken(hex ? L"title_hex" : L"title_ascii"), expected);
}

int checkMenu(IUIAutomation *automation)
{
    const bool hex = FindWindowW(nullptr, spoken(L"title_hex").c_str()) != nullptr;
    // Inside the open menu the letter alone chooses an item.
    const std::vector<Expected> expected = {
        {UIA_MenuItemControlTypeId, spoken(L"about"), L"A", {}},
        {UIA_MenuItemControlTypeId, spoken(L"hide"), L"H", {}},
        {UIA_MenuItemControlTypeId, spoken(L"exit"), L"X", {}},
    };
    return checkTree(automation, spoken(hex ? L"title_hex" : L"title_ascii"), expected);
}

int checkAbout(IUIAutomation *automation)
{
    const std::vector<Expected> expected = {
        {UIA_WindowControlTypeId, spoken(L"about"), {}, {}},
        {UIA_ButtonControlTypeId, spoken(L"ok"), L"Alt+O", {}},
    };
    return checkTree(automation, spoken(L"about"), expected);
}

// Records the names of the elements that the focus moves to.
class FocusRecorder : public IUIAutomationFocusChangedEventHandler
{
public:
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&m_references); }
    ULONG STDMETHODCALLTYPE Release() override { return InterlockedDecrement(&m_references); }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void **object) override
    {
        if (id == IID_IUnknown || id == IID_IUIAutomationFocusChangedEventHandler) {
            *object = static_cast<IUIAutomationFocusChangedEventHandler *>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE HandleFocusChangedEvent(IUIAutomationElement *sender) override
    {
        const std::wstring name = trimmed(nameOf(sender));
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_names.push_back(name);
        m_arrived.notify_all();
        return S_OK;
    }

    // Waits until the names so far end with `expected`; returns all of them.
    std::vector<std::wstring> waitFor(const std::vector<std::wstring> &expected)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_arrived.wait_for(lock, std::chrono::seconds(30), [&] {
            return m_names.size() >= expected.size() &&
                   std::equal(expected.begin(), expected.end(),
                              m_names.end() - static_cast<long>(expected.size()));
        });
        return m_names;
    }

private:
    LONG m_references = 1;
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::vector<std::wstring> m_names;
};

int followFocus(IUIAutomation *automation, const std::vector<std::wstring> &keys)
{
    std::vector<std::wstring> expected;
    for (const std::wstring &key : keys)
        expected.push_back(spoken(key.c_str()));
    FocusRecorder recorder;
    if (FAILED(automation->AddFocusChangedEventHandler(nullptr, &recorder))) {
        std::printf("FAIL: no focus events\n");
        return 2;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    const std::vector<std::wstring> names = recorder.waitFor(expected);
    automation->RemoveFocusChangedEventHandler(&recorder);
    std::string heard;
    for (const std::wstring &name : names)
        heard += " \"" + utf8(name) + "\"";
    std::printf("focus:%s\n", heard.c_str());
    const bool right = names.size() >= expected.size() &&
                       std::equal(expected.begin(), expected.end(),
                                  names.end() - static_cast<long>(expected.size()));
    if (!right)
        std::printf("FAIL: the focus did not move as expected\n");
    return right ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t *argv[])
{
    if (argc < 3 || !readSpoken(argv[1])) {
        std::fputs("usage: uia_check SPOKEN.txt main|menu|about|focus KEY...\n", stderr);
        return 2;
    }
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    IUIAutomation *automation = nullptr;
    // Wine registers the first UI Automation class only.
    if (FAILED(CoCreateInstance(CLSID_CUIAutomation, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IUIAutomation, reinterpret_cast<void **>(&automation)))) {
        std::puts("FAIL: no UI Automation");
        return 2;
    }
    const std::wstring command = argv[2];
    int status = 2;
    if (command == L"main")
        status = checkMain(automation);
    else if (command == L"menu")
        status = checkMenu(automation);
    else if (command == L"about")
        status = checkAbout(automation);
    else if (command == L"focus")
        status = followFocus(automation, std::vector<std::wstring>(argv + 3, argv + argc));
    std::fflush(stdout);
    automation->Release();
    CoUninitialize();
    return status;
}
