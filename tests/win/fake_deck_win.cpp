#include "tests/win/fake_deck_win.h"

#include <array>
#include <atomic>
#include <utility>

namespace tallyglass {

namespace {

enum class Kind {
    Application,
    Windows,
    Window,
    View,
    Presentation,
    Slides,
    Slide,
    Transition,
    Notes,
    Shapes,
    Placeholders,
    Shape,
    Format,
    Frame,
    Range
};

constexpr std::array<const wchar_t*, 20> kMembers = {L"SlideShowWindows",
                                                     L"Count",
                                                     L"Item",
                                                     L"HWND",
                                                     L"View",
                                                     L"Slide",
                                                     L"SlideIndex",
                                                     L"Presentation",
                                                     L"Slides",
                                                     L"Name",
                                                     L"SlideShowTransition",
                                                     L"Hidden",
                                                     L"NotesPage",
                                                     L"Shapes",
                                                     L"Placeholders",
                                                     L"PlaceholderFormat",
                                                     L"Type",
                                                     L"TextFrame",
                                                     L"TextRange",
                                                     L"Text"};

DISPID IdOf(const wchar_t* member) {
    for (size_t i = 0; i < kMembers.size(); ++i)
        if (lstrcmpiW(kMembers[i], member) == 0) return static_cast<DISPID>(i + 1);
    return DISPID_UNKNOWN;
}

bool Is(DISPID id, const wchar_t* member) { return id == IdOf(member); }

class Node : public IDispatch {
public:
    Node(std::shared_ptr<FakeDeck> deck, Kind kind, int32_t a = 0, int32_t b = 0)
        : m_deck(std::move(deck)), m_kind(kind), m_a(a), m_b(b) {}
    virtual ~Node() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (id != IID_IUnknown && id != IID_IDispatch) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --m_refs;
        if (left == 0) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        ++m_deck->calls[L"GetIDsOfNames"];
        HRESULT result = S_OK;
        for (UINT i = 0; i < count; ++i)
            if ((ids[i] = IdOf(names[i])) == DISPID_UNKNOWN) result = DISP_E_UNKNOWNNAME;
        return result;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT* result, EXCEPINFO*,
                                     UINT*) override {
        if (id < 1 || id > static_cast<DISPID>(kMembers.size())) return DISP_E_MEMBERNOTFOUND;
        ++m_deck->calls[kMembers[static_cast<size_t>(id - 1)]];
        if (m_deck->hanging) WaitForSingleObject(m_deck->unhang, 30000);
        int32_t index = 0;
        if (parameters && parameters->cArgs > 0) {
            Variant converted;
            if (FAILED(VariantChangeType(converted.Receive(), &parameters->rgvarg[0], 0, VT_I4)))
                return DISP_E_TYPEMISMATCH;
            index = converted.get().lVal;
        }
        VARIANT answer;
        VariantInit(&answer);
        const HRESULT outcome = Answer(id, index, answer);
        if (SUCCEEDED(outcome) && result)
            *result = answer;
        else
            VariantClear(&answer);
        return outcome;
    }

private:
    HRESULT Object(Kind kind, int32_t a, int32_t b, VARIANT& answer) const {
        answer.vt = VT_DISPATCH;
        answer.pdispVal = new Node(m_deck, kind, a, b);
        return S_OK;
    }
    static HRESULT Number(int32_t value, VARIANT& answer) {
        answer.vt = VT_I4;
        answer.lVal = value;
        return S_OK;
    }
    static HRESULT Text(const std::wstring& value, VARIANT& answer) {
        answer.vt = VT_BSTR;
        answer.bstrVal = SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
        return S_OK;
    }
    bool ShowThere(int32_t show) const { return show >= 0 && static_cast<size_t>(show) < m_deck->shows.size(); }
    bool SlideThere(int32_t slide) const { return slide >= 1 && static_cast<size_t>(slide) <= m_deck->slides.size(); }
    const FakeSlide& SlideAt(int32_t slide) const { return m_deck->slides[static_cast<size_t>(slide - 1)]; }
    static int32_t Placeholders() { return 2; }
    int32_t BodyAt() const { return SlideAt(m_a).bodyFirst ? 1 : 2; }

    HRESULT Answer(DISPID id, int32_t index, VARIANT& answer) const;
    HRESULT AnswerShow(DISPID id, int32_t index, VARIANT& answer) const;
    HRESULT AnswerSlide(DISPID id, int32_t index, VARIANT& answer) const;

    std::shared_ptr<FakeDeck> m_deck;
    const Kind m_kind;
    const int32_t m_a, m_b;  // a show's or a slide's index, and a placeholder's
    std::atomic<ULONG> m_refs{1};
};

HRESULT Node::Answer(DISPID id, int32_t index, VARIANT& answer) const {
    switch (m_kind) {
        case Kind::Application:
        case Kind::Windows:
        case Kind::Window:
        case Kind::View:
        case Kind::Presentation:
            return AnswerShow(id, index, answer);
        default:
            return AnswerSlide(id, index, answer);
    }
}

HRESULT Node::AnswerShow(DISPID id, int32_t index, VARIANT& answer) const {
    const auto& shows = m_deck->shows;
    switch (m_kind) {
        case Kind::Application:
            if (Is(id, L"SlideShowWindows")) return Object(Kind::Windows, 0, 0, answer);
            break;
        case Kind::Windows:
            if (Is(id, L"Count")) return Number(static_cast<int32_t>(shows.size()), answer);
            if (Is(id, L"Item"))
                return ShowThere(index - 1) ? Object(Kind::Window, index - 1, 0, answer) : DISP_E_BADINDEX;
            break;
        case Kind::Window:
            if (!ShowThere(m_a)) return RPC_E_DISCONNECTED;  // a show ended is a dead object
            if (Is(id, L"HWND"))
                return Number(static_cast<int32_t>(reinterpret_cast<LONG_PTR>(shows[m_a].window)), answer);
            if (Is(id, L"View")) return Object(Kind::View, m_a, 0, answer);
            if (Is(id, L"Presentation")) return Object(Kind::Presentation, 0, 0, answer);
            break;
        case Kind::View:
            if (!ShowThere(m_a)) return RPC_E_DISCONNECTED;
            // The black slide after the last has no slide: PowerPoint raises an error.
            if (Is(id, L"Slide"))
                return shows[m_a].slide ? Object(Kind::Slide, shows[m_a].slide, 0, answer) : DISP_E_EXCEPTION;
            break;
        case Kind::Presentation:
            if (Is(id, L"Name")) return Text(m_deck->name, answer);
            if (Is(id, L"Slides")) return Object(Kind::Slides, 0, 0, answer);
            break;
        default:
            break;
    }
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT Node::AnswerSlide(DISPID id, int32_t index, VARIANT& answer) const {
    if (m_kind == Kind::Slides) {
        if (Is(id, L"Count")) return Number(static_cast<int32_t>(m_deck->slides.size()), answer);
        if (Is(id, L"Item")) return SlideThere(index) ? Object(Kind::Slide, index, 0, answer) : DISP_E_BADINDEX;
        return DISP_E_MEMBERNOTFOUND;
    }
    if (!SlideThere(m_a)) return DISP_E_EXCEPTION;  // the slide was deleted or its deck closed
    switch (m_kind) {
        case Kind::Slide:
            if (Is(id, L"SlideIndex")) return Number(m_a, answer);
            if (Is(id, L"SlideShowTransition")) return Object(Kind::Transition, m_a, 0, answer);
            if (Is(id, L"NotesPage")) return Object(Kind::Notes, m_a, 0, answer);
            break;
        case Kind::Transition:
            if (Is(id, L"Hidden")) return Number(SlideAt(m_a).hidden ? -1 : 0, answer);  // msoTrue, msoFalse
            break;
        case Kind::Notes:
            if (Is(id, L"Shapes")) return Object(Kind::Shapes, m_a, 0, answer);
            break;
        case Kind::Shapes:
            if (Is(id, L"Placeholders")) return Object(Kind::Placeholders, m_a, 0, answer);
            break;
        case Kind::Placeholders:
            if (Is(id, L"Count")) return Number(Placeholders(), answer);
            if (Is(id, L"Item"))
                return index >= 1 && index <= Placeholders() ? Object(Kind::Shape, m_a, index, answer)
                                                             : DISP_E_BADINDEX;
            break;
        case Kind::Shape:
            if (Is(id, L"PlaceholderFormat")) return Object(Kind::Format, m_a, m_b, answer);
            if (Is(id, L"TextFrame")) return Object(Kind::Frame, m_a, m_b, answer);
            break;
        case Kind::Format:
            // ppPlaceholderBody (2); the other is the slide image, or the slide number (13).
            if (Is(id, L"Type")) return Number(m_b == BodyAt() ? 2 : SlideAt(m_a).bodyFirst ? 13 : 1, answer);
            break;
        case Kind::Frame:
            if (Is(id, L"TextRange")) return Object(Kind::Range, m_a, m_b, answer);
            break;
        case Kind::Range:
            if (Is(id, L"Text")) return Text(m_b == BodyAt() ? SlideAt(m_a).notes : std::to_wstring(m_a), answer);
            break;
        default:
            break;
    }
    return DISP_E_MEMBERNOTFOUND;
}

}  // namespace

ComPtr<IDispatch> FakeApplication(std::shared_ptr<FakeDeck> deck) {
    return ComPtr<IDispatch>(new Node(std::move(deck), Kind::Application));
}

}  // namespace tallyglass
