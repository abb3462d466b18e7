#include "DragDrop.h"

#include "TextEncoding.h"

#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <utility>

namespace dnd {
namespace {

FORMATETC GlobalFormat(UINT format) {
    return FORMATETC{static_cast<CLIPFORMAT>(format), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

// Reference counting shared by the three objects.
class RefCounted {
protected:
    ULONG AddRefImpl() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    template <typename Self>
    ULONG ReleaseImpl(Self* self) {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete self;
        return static_cast<ULONG>(left);
    }

private:
    LONG references_ = 1;
};

template <typename Interface>
HRESULT Answer(Interface* self, REFIID iid, REFIID own, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, own)) {
        *object = self;
        self->AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

class DropTarget final : public IDropTarget, private RefCounted {
public:
    DropTarget(HWND window, UINT message, std::vector<UINT> formats)
        : window_(window), message_(message), formats_(std::move(formats)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        return Answer<IDropTarget>(this, iid, IID_IDropTarget, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return AddRefImpl(); }
    ULONG STDMETHODCALLTYPE Release() override { return ReleaseImpl(this); }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override {
        notify_.effect = DROPEFFECT_NONE;
        return Deliver(kEnter, data, keys, &point, effect);
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override {
        return Deliver(kOver, nullptr, keys, &point, effect);
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        DWORD none = DROPEFFECT_NONE;
        return Deliver(kLeave, nullptr, 0, nullptr, &none);
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override {
        return Deliver(kDrop, data, keys, &point, effect);
    }

private:
    ~DropTarget() = default;
    friend class RefCounted;

    HRESULT Deliver(DragEvent event, IDataObject* data, DWORD keys, const POINTL* point, DWORD* effect) {
        if (!effect) return E_INVALIDARG;
        POINT cursor{point ? point->x : 0, point ? point->y : 0};
        notify_.cursor = point ? &cursor : nullptr;
        notify_.keyState = keys;
        notify_.format = 0;
        notify_.data = nullptr;
        notify_.dataObject = data;
        STGMEDIUM medium{};
        bool haveMedium = false;
        if (data) {
            for (UINT format : formats_) {
                FORMATETC wanted = GlobalFormat(format);
                if (data->QueryGetData(&wanted) != S_OK) continue;
                if (SUCCEEDED(data->GetData(&wanted, &medium)) && medium.tymed == TYMED_HGLOBAL) {
                    notify_.format = format;
                    notify_.data = medium.hGlobal;
                    haveMedium = true;
                }
                break;
            }
        }
        const LRESULT result = SendMessageA(window_, message_, event, reinterpret_cast<LPARAM>(&notify_));
        if (haveMedium) ReleaseStgMedium(&medium);
        notify_.cursor = nullptr;
        notify_.data = nullptr;
        notify_.dataObject = nullptr;

        DWORD allowed = notify_.effect & *effect;
        // Where both are possible a move wins over a copy.
        if ((allowed & DROPEFFECT_MOVE) && (allowed & DROPEFFECT_COPY)) {
            allowed &= ~DWORD(DROPEFFECT_COPY);
            notify_.effect &= ~DWORD(DROPEFFECT_COPY);
        }
        *effect = result == 1 ? DROPEFFECT_NONE : allowed;
        return S_OK;
    }

    HWND window_;
    UINT message_;
    std::vector<UINT> formats_;
    DropNotify notify_;
};

class DataObject final : public IDataObject, private RefCounted {
public:
    DataObject(HWND renderer, UINT message, const std::vector<UINT>& formats) : renderer_(renderer), message_(message) {
        for (UINT format : formats) formats_.push_back(GlobalFormat(format));
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        return Answer<IDataObject>(this, iid, IID_IDataObject, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return AddRefImpl(); }
    ULONG STDMETHODCALLTYPE Release() override { return ReleaseImpl(this); }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* wanted, STGMEDIUM* medium) override {
        if (!wanted || !medium) return E_INVALIDARG;
        if (QueryGetData(wanted) != S_OK) return DV_E_FORMATETC;
        HGLOBAL rendered = nullptr;
        SendMessageA(renderer_, message_, wanted->cfFormat, reinterpret_cast<LPARAM>(&rendered));
        if (!rendered) return STG_E_MEDIUMFULL;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = rendered;
        medium->pUnkForRelease = nullptr;  // the caller owns the memory
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* wanted) override {
        if (!wanted) return E_INVALIDARG;
        for (const FORMATETC& offered : formats_)
            if (offered.cfFormat == wanted->cfFormat && (wanted->tymed & TYMED_HGLOBAL)) return S_OK;
        return DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        if (out) out->ptd = nullptr;
        return DATA_S_SAMEFORMATETC;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override {
        if (!formats) return E_INVALIDARG;
        *formats = nullptr;
        if (direction != DATADIR_GET) return OLE_S_USEREG;
        return SHCreateStdEnumFmtEtc(static_cast<UINT>(formats_.size()), formats_.data(), formats);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    ~DataObject() = default;
    friend class RefCounted;

    HWND renderer_;
    UINT message_;
    std::vector<FORMATETC> formats_;
};

class DropSource final : public IDropSource, private RefCounted {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        return Answer<IDropSource>(this, iid, IID_IDropSource, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return AddRefImpl(); }
    ULONG STDMETHODCALLTYPE Release() override { return ReleaseImpl(this); }

    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
        if (escape || (keys & MK_RBUTTON)) return DRAGDROP_S_CANCEL;
        if (!(keys & MK_LBUTTON)) return DRAGDROP_S_DROP;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

private:
    ~DropSource() = default;
    friend class RefCounted;
};

}  // namespace

IDropTarget* CreateDropTarget(HWND window, UINT message, const std::vector<UINT>& formats) {
    return new DropTarget(window, message, formats);
}

bool RegisterDropTarget(HWND window, UINT message, const std::vector<UINT>& formats) {
    IDropTarget* target = CreateDropTarget(window, message, formats);
    const HRESULT result = RegisterDragDrop(window, target);
    target->Release();  // OLE keeps its own reference while registered
    return SUCCEEDED(result);
}

void RevokeDropTarget(HWND window) { RevokeDragDrop(window); }

IDataObject* CreateDataObject(HWND renderer, UINT renderMessage, const std::vector<UINT>& formats) {
    return new DataObject(renderer, renderMessage, formats);
}

IDropSource* CreateDropSource() { return new DropSource(); }

std::optional<std::string> GetGlobalBytes(IDataObject* data, UINT format) {
    if (!data) return std::nullopt;
    FORMATETC wanted = GlobalFormat(format);
    STGMEDIUM medium{};
    if (FAILED(data->GetData(&wanted, &medium))) return std::nullopt;
    std::optional<std::string> bytes;
    if (medium.tymed == TYMED_HGLOBAL) {
        if (const char* locked = static_cast<const char*>(GlobalLock(medium.hGlobal))) {
            bytes.emplace(locked, GlobalSize(medium.hGlobal));
            GlobalUnlock(medium.hGlobal);
        }
    }
    ReleaseStgMedium(&medium);
    return bytes;
}

UINT WideUrlFormat() {
    static const UINT format = RegisterClipboardFormatA("UniformResourceLocatorW");
    return format;
}

UINT WideFileGroupFormat() {
    static const UINT format = RegisterClipboardFormatA("FileGroupDescriptorW");
    return format;
}

UINT FileContentsFormat() {
    static const UINT format = RegisterClipboardFormatA("FileContents");
    return format;
}

HGLOBAL GlobalCopy(const void* bytes, size_t size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (!memory) return nullptr;
    void* target = GlobalLock(memory);
    if (!target) {
        GlobalFree(memory);
        return nullptr;
    }
    std::memcpy(target, bytes, size);
    GlobalUnlock(memory);
    return memory;
}

HGLOBAL GlobalWideText(std::wstring_view text) {
    const std::wstring terminated(text);
    return GlobalCopy(terminated.c_str(), (terminated.size() + 1) * sizeof(wchar_t));
}

HGLOBAL WideFileGroup(std::wstring_view name) {
    FILEGROUPDESCRIPTORW group{};
    group.cItems = 1;
    group.fgd[0].dwFlags = FD_UNICODE;
    const size_t length = std::min<size_t>(name.size(), MAX_PATH - 1);
    std::memcpy(group.fgd[0].cFileName, name.data(), length * sizeof(wchar_t));
    return GlobalCopy(&group, sizeof group);
}

namespace {

template <typename Char>
std::basic_string<Char> GlobalText(HGLOBAL data) {
    std::basic_string<Char> text;
    if (!data) return text;
    if (const Char* chars = static_cast<const Char*>(GlobalLock(data))) {
        const size_t capacity = GlobalSize(data) / sizeof(Char);
        text.assign(chars, std::find(chars, chars + capacity, Char()) - chars);
        GlobalUnlock(data);
    }
    return text;
}

}  // namespace

std::string TextOf(HGLOBAL data) { return GlobalText<char>(data); }

std::wstring WideTextOf(HGLOBAL data) { return GlobalText<wchar_t>(data); }

std::optional<std::wstring> FirstDescribedFile(IDataObject* data) {
    if (const auto bytes = GetGlobalBytes(data, WideFileGroupFormat()); bytes && bytes->size() >= sizeof(FILEGROUPDESCRIPTORW)) {
        const auto* group = reinterpret_cast<const FILEGROUPDESCRIPTORW*>(bytes->data());
        if (group->cItems == 0) return std::nullopt;
        const wchar_t* name = group->fgd[0].cFileName;
        return std::wstring(name, std::find(name, name + MAX_PATH, L'\0'));
    }
    const auto bytes = GetGlobalBytes(data, RegisterClipboardFormatA(CFSTR_FILEDESCRIPTORA));
    if (!bytes || bytes->size() < sizeof(FILEGROUPDESCRIPTORA)) return std::nullopt;
    const auto* group = reinterpret_cast<const FILEGROUPDESCRIPTORA*>(bytes->data());
    if (group->cItems == 0) return std::nullopt;
    const char* name = group->fgd[0].cFileName;
    return text::AnsiToWide(std::string_view(name, std::find(name, name + MAX_PATH, '\0') - name));
}

}  // namespace dnd
