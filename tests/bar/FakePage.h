// A page as the browser's document object model gives it, built by the tests (Wine has no HTML
// engine here): anchors with their addresses as get_href gives them (entities decoded, relative
// addresses resolved), image-map areas (links that are no anchors), frames with names, and a
// browser that shows the page, nothing, or a document of another kind. Every other call answers
// E_NOTIMPL; no object keeps a reference count (the page owns them all).
#pragma once

#include "../support/WebBrowserStub.h"

#include <mshtml.h>

#include <deque>
#include <string>
#include <vector>

namespace bartest {

using testutil::Uncounted;

class FakeAnchor final : public Uncounted<IHTMLAnchorElement> {
public:
    explicit FakeAnchor(std::wstring href) : Uncounted(IID_IHTMLAnchorElement), href_(std::move(href)) {}
    HRESULT STDMETHODCALLTYPE get_href(BSTR* href) override { return Give(href_, href); }
    TOLVAK_NOT_USED(put_href, BSTR) TOLVAK_NOT_USED(put_target, BSTR) TOLVAK_NOT_USED(get_target, BSTR*)
    TOLVAK_NOT_USED(put_rel, BSTR) TOLVAK_NOT_USED(get_rel, BSTR*) TOLVAK_NOT_USED(put_rev, BSTR)
    TOLVAK_NOT_USED(get_rev, BSTR*) TOLVAK_NOT_USED(put_urn, BSTR) TOLVAK_NOT_USED(get_urn, BSTR*)
    TOLVAK_NOT_USED(put_Methods, BSTR) TOLVAK_NOT_USED(get_Methods, BSTR*) TOLVAK_NOT_USED(put_name, BSTR)
    TOLVAK_NOT_USED(get_name, BSTR*) TOLVAK_NOT_USED(put_host, BSTR) TOLVAK_NOT_USED(get_host, BSTR*)
    TOLVAK_NOT_USED(put_hostname, BSTR) TOLVAK_NOT_USED(get_hostname, BSTR*) TOLVAK_NOT_USED(put_pathname, BSTR)
    TOLVAK_NOT_USED(get_pathname, BSTR*) TOLVAK_NOT_USED(put_port, BSTR) TOLVAK_NOT_USED(get_port, BSTR*)
    TOLVAK_NOT_USED(put_protocol, BSTR) TOLVAK_NOT_USED(get_protocol, BSTR*) TOLVAK_NOT_USED(put_search, BSTR)
    TOLVAK_NOT_USED(get_search, BSTR*) TOLVAK_NOT_USED(put_hash, BSTR) TOLVAK_NOT_USED(get_hash, BSTR*)
    TOLVAK_NOT_USED(put_onblur, VARIANT) TOLVAK_NOT_USED(get_onblur, VARIANT*) TOLVAK_NOT_USED(put_onfocus, VARIANT)
    TOLVAK_NOT_USED(get_onfocus, VARIANT*) TOLVAK_NOT_USED(put_accessKey, BSTR)
    TOLVAK_NOT_USED(get_accessKey, BSTR*) TOLVAK_NOT_USED(get_protocolLong, BSTR*)
    TOLVAK_NOT_USED(get_mimeType, BSTR*) TOLVAK_NOT_USED(get_nameProp, BSTR*) TOLVAK_NOT_USED(put_tabIndex, short)
    TOLVAK_NOT_USED(get_tabIndex, short*) TOLVAK_NOT_USED(focus) TOLVAK_NOT_USED(blur)

private:
    std::wstring href_;
};

// An image map's area: among the page's links, but no anchor element.
class FakeArea final : public Uncounted<IDispatch> {
public:
    FakeArea() : Uncounted(IID_IDispatch) {}
};

class FakeFrame final : public Uncounted<IHTMLFrameBase> {
public:
    explicit FakeFrame(std::wstring name) : Uncounted(IID_IHTMLFrameBase), name_(std::move(name)) {}
    HRESULT STDMETHODCALLTYPE get_name(BSTR* name) override { return Give(name_, name); }
    TOLVAK_NOT_USED(put_src, BSTR) TOLVAK_NOT_USED(get_src, BSTR*) TOLVAK_NOT_USED(put_name, BSTR)
    TOLVAK_NOT_USED(put_border, VARIANT) TOLVAK_NOT_USED(get_border, VARIANT*)
    TOLVAK_NOT_USED(put_frameBorder, BSTR) TOLVAK_NOT_USED(get_frameBorder, BSTR*)
    TOLVAK_NOT_USED(put_frameSpacing, VARIANT) TOLVAK_NOT_USED(get_frameSpacing, VARIANT*)
    TOLVAK_NOT_USED(put_marginWidth, VARIANT) TOLVAK_NOT_USED(get_marginWidth, VARIANT*)
    TOLVAK_NOT_USED(put_marginHeight, VARIANT) TOLVAK_NOT_USED(get_marginHeight, VARIANT*)
    TOLVAK_NOT_USED(put_noResize, VARIANT_BOOL) TOLVAK_NOT_USED(get_noResize, VARIANT_BOOL*)
    TOLVAK_NOT_USED(put_scrolling, BSTR) TOLVAK_NOT_USED(get_scrolling, BSTR*)

private:
    std::wstring name_;
};

class FakeCollection final : public Uncounted<IHTMLElementCollection> {
public:
    std::vector<IDispatch*> elements;

    FakeCollection() : Uncounted(IID_IHTMLElementCollection) {}
    HRESULT STDMETHODCALLTYPE get_length(LONG* length) override {
        *length = static_cast<LONG>(elements.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE item(VARIANT index, VARIANT, IDispatch** element) override {
        *element = nullptr;
        if (V_VT(&index) != VT_I4 || V_I4(&index) < 0 || static_cast<size_t>(V_I4(&index)) >= elements.size())
            return E_INVALIDARG;
        *element = elements[static_cast<size_t>(V_I4(&index))];
        return S_OK;
    }
    TOLVAK_NOT_USED(toString, BSTR*) TOLVAK_NOT_USED(put_length, LONG) TOLVAK_NOT_USED(get__newEnum, IUnknown**)
    TOLVAK_NOT_USED(tags, VARIANT, IDispatch**)
};

// The page's document: `all` holds every element, `links` the anchors and areas.
class FakePage final : public Uncounted<IHTMLDocument2> {
public:
    FakePage(std::wstring title, std::wstring url)
        : Uncounted(IID_IHTMLDocument2), title_(std::move(title)), url_(std::move(url)) {}

    void Anchor(std::wstring href) { AddLink(&anchors_.emplace_back(std::move(href))); }
    void Area() { AddLink(&areas_.emplace_back()); }
    void Frame(std::wstring name) { all_.elements.push_back(&frames_.emplace_back(std::move(name))); }

    HRESULT STDMETHODCALLTYPE get_all(IHTMLElementCollection** all) override {
        *all = &all_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_links(IHTMLElementCollection** links) override {
        *links = &links_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_title(BSTR* title) override { return Give(title_, title); }
    HRESULT STDMETHODCALLTYPE get_URL(BSTR* url) override { return Give(url_, url); }
    TOLVAK_NOT_USED(get_Script, IDispatch**) TOLVAK_NOT_USED(get_body, IHTMLElement**)
    TOLVAK_NOT_USED(get_activeElement, IHTMLElement**) TOLVAK_NOT_USED(get_images, IHTMLElementCollection**)
    TOLVAK_NOT_USED(get_applets, IHTMLElementCollection**) TOLVAK_NOT_USED(get_forms, IHTMLElementCollection**)
    TOLVAK_NOT_USED(get_anchors, IHTMLElementCollection**) TOLVAK_NOT_USED(put_title, BSTR)
    TOLVAK_NOT_USED(get_scripts, IHTMLElementCollection**) TOLVAK_NOT_USED(put_designMode, BSTR)
    TOLVAK_NOT_USED(get_designMode, BSTR*) TOLVAK_NOT_USED(get_selection, IHTMLSelectionObject**)
    TOLVAK_NOT_USED(get_readyState, BSTR*) TOLVAK_NOT_USED(get_frames, IHTMLFramesCollection2**)
    TOLVAK_NOT_USED(get_embeds, IHTMLElementCollection**) TOLVAK_NOT_USED(get_plugins, IHTMLElementCollection**)
    TOLVAK_NOT_USED(put_alinkColor, VARIANT) TOLVAK_NOT_USED(get_alinkColor, VARIANT*)
    TOLVAK_NOT_USED(put_bgColor, VARIANT) TOLVAK_NOT_USED(get_bgColor, VARIANT*)
    TOLVAK_NOT_USED(put_fgColor, VARIANT) TOLVAK_NOT_USED(get_fgColor, VARIANT*)
    TOLVAK_NOT_USED(put_linkColor, VARIANT) TOLVAK_NOT_USED(get_linkColor, VARIANT*)
    TOLVAK_NOT_USED(put_vlinkColor, VARIANT) TOLVAK_NOT_USED(get_vlinkColor, VARIANT*)
    TOLVAK_NOT_USED(get_referrer, BSTR*) TOLVAK_NOT_USED(get_location, IHTMLLocation**)
    TOLVAK_NOT_USED(get_lastModified, BSTR*) TOLVAK_NOT_USED(put_URL, BSTR) TOLVAK_NOT_USED(put_domain, BSTR)
    TOLVAK_NOT_USED(get_domain, BSTR*) TOLVAK_NOT_USED(put_cookie, BSTR) TOLVAK_NOT_USED(get_cookie, BSTR*)
    TOLVAK_NOT_USED(put_expando, VARIANT_BOOL) TOLVAK_NOT_USED(get_expando, VARIANT_BOOL*)
    TOLVAK_NOT_USED(put_charset, BSTR) TOLVAK_NOT_USED(get_charset, BSTR*) TOLVAK_NOT_USED(put_defaultCharset, BSTR)
    TOLVAK_NOT_USED(get_defaultCharset, BSTR*) TOLVAK_NOT_USED(get_mimeType, BSTR*)
    TOLVAK_NOT_USED(get_fileSize, BSTR*) TOLVAK_NOT_USED(get_fileCreatedDate, BSTR*)
    TOLVAK_NOT_USED(get_fileModifiedDate, BSTR*) TOLVAK_NOT_USED(get_fileUpdatedDate, BSTR*)
    TOLVAK_NOT_USED(get_security, BSTR*) TOLVAK_NOT_USED(get_protocol, BSTR*) TOLVAK_NOT_USED(get_nameProp, BSTR*)
    TOLVAK_NOT_USED(write, SAFEARRAY*) TOLVAK_NOT_USED(writeln, SAFEARRAY*)
    TOLVAK_NOT_USED(open, BSTR, VARIANT, VARIANT, VARIANT, IDispatch**) TOLVAK_NOT_USED(close)
    TOLVAK_NOT_USED(clear) TOLVAK_NOT_USED(queryCommandSupported, BSTR, VARIANT_BOOL*)
    TOLVAK_NOT_USED(queryCommandEnabled, BSTR, VARIANT_BOOL*)
    TOLVAK_NOT_USED(queryCommandState, BSTR, VARIANT_BOOL*)
    TOLVAK_NOT_USED(queryCommandIndeterm, BSTR, VARIANT_BOOL*) TOLVAK_NOT_USED(queryCommandText, BSTR, BSTR*)
    TOLVAK_NOT_USED(queryCommandValue, BSTR, VARIANT*)
    TOLVAK_NOT_USED(execCommand, BSTR, VARIANT_BOOL, VARIANT, VARIANT_BOOL*)
    TOLVAK_NOT_USED(execCommandShowHelp, BSTR, VARIANT_BOOL*) TOLVAK_NOT_USED(createElement, BSTR, IHTMLElement**)
    TOLVAK_NOT_USED(put_onhelp, VARIANT) TOLVAK_NOT_USED(get_onhelp, VARIANT*) TOLVAK_NOT_USED(put_onclick, VARIANT)
    TOLVAK_NOT_USED(get_onclick, VARIANT*) TOLVAK_NOT_USED(put_ondblclick, VARIANT)
    TOLVAK_NOT_USED(get_ondblclick, VARIANT*) TOLVAK_NOT_USED(put_onkeyup, VARIANT)
    TOLVAK_NOT_USED(get_onkeyup, VARIANT*) TOLVAK_NOT_USED(put_onkeydown, VARIANT)
    TOLVAK_NOT_USED(get_onkeydown, VARIANT*) TOLVAK_NOT_USED(put_onkeypress, VARIANT)
    TOLVAK_NOT_USED(get_onkeypress, VARIANT*) TOLVAK_NOT_USED(put_onmouseup, VARIANT)
    TOLVAK_NOT_USED(get_onmouseup, VARIANT*) TOLVAK_NOT_USED(put_onmousedown, VARIANT)
    TOLVAK_NOT_USED(get_onmousedown, VARIANT*) TOLVAK_NOT_USED(put_onmousemove, VARIANT)
    TOLVAK_NOT_USED(get_onmousemove, VARIANT*) TOLVAK_NOT_USED(put_onmouseout, VARIANT)
    TOLVAK_NOT_USED(get_onmouseout, VARIANT*) TOLVAK_NOT_USED(put_onmouseover, VARIANT)
    TOLVAK_NOT_USED(get_onmouseover, VARIANT*) TOLVAK_NOT_USED(put_onreadystatechange, VARIANT)
    TOLVAK_NOT_USED(get_onreadystatechange, VARIANT*) TOLVAK_NOT_USED(put_onafterupdate, VARIANT)
    TOLVAK_NOT_USED(get_onafterupdate, VARIANT*) TOLVAK_NOT_USED(put_onrowexit, VARIANT)
    TOLVAK_NOT_USED(get_onrowexit, VARIANT*) TOLVAK_NOT_USED(put_onrowenter, VARIANT)
    TOLVAK_NOT_USED(get_onrowenter, VARIANT*) TOLVAK_NOT_USED(put_ondragstart, VARIANT)
    TOLVAK_NOT_USED(get_ondragstart, VARIANT*) TOLVAK_NOT_USED(put_onselectstart, VARIANT)
    TOLVAK_NOT_USED(get_onselectstart, VARIANT*) TOLVAK_NOT_USED(elementFromPoint, LONG, LONG, IHTMLElement**)
    TOLVAK_NOT_USED(get_parentWindow, IHTMLWindow2**) TOLVAK_NOT_USED(get_styleSheets, IHTMLStyleSheetsCollection**)
    TOLVAK_NOT_USED(put_onbeforeupdate, VARIANT) TOLVAK_NOT_USED(get_onbeforeupdate, VARIANT*)
    TOLVAK_NOT_USED(put_onerrorupdate, VARIANT) TOLVAK_NOT_USED(get_onerrorupdate, VARIANT*)
    TOLVAK_NOT_USED(toString, BSTR*) TOLVAK_NOT_USED(createStyleSheet, BSTR, LONG, IHTMLStyleSheet**)

private:
    void AddLink(IDispatch* element) {
        all_.elements.push_back(element);
        links_.elements.push_back(element);
    }

    std::wstring title_, url_;
    std::deque<FakeAnchor> anchors_;
    std::deque<FakeArea> areas_;
    std::deque<FakeFrame> frames_;
    FakeCollection all_, links_;
};

// A browser whose document is `page`, or no document, a failure, or a document that is no HTML.
class PageBrowser final : public testutil::WebBrowserStub {
public:
    enum class Shows { kPage, kNoDocument, kFailure, kOtherKind };
    explicit PageBrowser(IHTMLDocument2* page, Shows shows = Shows::kPage) : page_(page), shows_(shows) {}

    HRESULT STDMETHODCALLTYPE get_Document(IDispatch** document) override {
        *document = nullptr;
        switch (shows_) {
        case Shows::kPage: *document = page_; return S_OK;
        case Shows::kNoDocument: return S_OK;
        case Shows::kFailure: return E_FAIL;
        case Shows::kOtherKind: *document = this; return S_OK;
        }
        return E_FAIL;
    }

private:
    IHTMLDocument2* page_;
    Shows shows_;
};

}  // namespace bartest
