#include "PageLinks.h"

#include <base/Format.h>
#include <base/Handles.h>
#include <base/TextEncoding.h>

#include <mshtml.h>

namespace linklist {
namespace {

template <typename I>
win::ComPtr<I> As(IUnknown& object, REFIID iid) {
    win::ComPtr<I> result;
    if (FAILED(object.QueryInterface(iid, reinterpret_cast<void**>(result.put())))) result.reset();
    return result;
}

std::string PercentEncoded(std::wstring_view character) {
    // A lone surrogate becomes U+FFFD's bytes, as browsers send it.
    std::string encoded;
    for (const unsigned char byte : text::WideToUtf8(character)) encoded += text::Format("%%%02X", byte);
    return encoded;
}

// "?" in place of a character would be another address.
std::string AddressText(std::wstring_view address) {
    bool exact = false;
    std::string whole = text::WideToAnsi(address, &exact);
    if (exact) return whole;
    std::string result;
    for (size_t i = 0; i < address.size();) {
        const bool pair =
            IS_HIGH_SURROGATE(address[i]) && i + 1 < address.size() && IS_LOW_SURROGATE(address[i + 1]);
        const std::wstring_view character = address.substr(i, pair ? 2 : 1);
        const std::string ansi = text::WideToAnsi(character, &exact);
        result += exact ? ansi : PercentEncoded(character);
        i += character.size();
    }
    return result;
}

// Calls `visit` with each element of `collection` that can be fetched, in order.
template <typename Visit>
void ForEachElement(IHTMLElementCollection& collection, Visit visit) {
    LONG length = 0;
    if (FAILED(collection.get_length(&length))) return;
    for (LONG i = 0; i < length; ++i) {
        VARIANT index;
        VariantInit(&index);
        V_VT(&index) = VT_I4;
        V_I4(&index) = i;
        VARIANT none;
        VariantInit(&none);
        win::ComPtr<IDispatch> element;
        if (SUCCEEDED(collection.item(index, none, element.put())) && element) visit(*element);
    }
}

win::ComPtr<IHTMLDocument2> HtmlDocument(IWebBrowser2& browser) {
    win::ComPtr<IDispatch> document;
    if (FAILED(browser.get_Document(document.put())) || !document) return {};
    return As<IHTMLDocument2>(*document, IID_IHTMLDocument2);
}

}  // namespace

std::optional<Page> ReadPage(IWebBrowser2& browser) {
    const win::ComPtr<IHTMLDocument2> document = HtmlDocument(browser);
    if (!document) return std::nullopt;
    Page page;

    win::ComPtr<IHTMLElementCollection> all;
    if (SUCCEEDED(document->get_all(all.put())) && all) {
        ForEachElement(*all, [&](IDispatch& element) {
            if (const auto frame = As<IHTMLFrameBase>(element, IID_IHTMLFrameBase))
                page.frameNames.push_back(text::WideToAnsi(win::BstrProperty(*frame, &IHTMLFrameBase::get_name)));
        });
    }
    // Image-map areas are links too, but no anchors: they are left out.
    win::ComPtr<IHTMLElementCollection> links;
    if (SUCCEEDED(document->get_links(links.put())) && links) {
        ForEachElement(*links, [&](IDispatch& element) {
            if (const auto anchor = As<IHTMLAnchorElement>(element, IID_IHTMLAnchorElement))
                page.links.push_back(AddressText(win::BstrProperty(*anchor, &IHTMLAnchorElement::get_href)));
        });
    }
    page.address = AddressText(win::BstrProperty(*document, &IHTMLDocument2::get_URL));
    page.title = text::WideToAnsi(win::BstrProperty(*document, &IHTMLDocument2::get_title));
    return page;
}

}  // namespace linklist
