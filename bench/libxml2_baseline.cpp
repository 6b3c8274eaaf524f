// libxml2_baseline.cpp: the tree-walking reader the benchmarks compare the library with.
#include "bench/libxml2_baseline.h"

#include <libxml/HTMLparser.h>
#include <libxml/tree.h>

#include <cstring>
#include <string_view>

#include "common/library_testing.h"
#include "common/page/status_page.h"

namespace quirn::bench {
namespace {

std::string_view View(const xmlChar* text) {
    return text == nullptr ? std::string_view() : reinterpret_cast<const char*>(text);
}

bool IsElement(const xmlNode* node, const char* name) {
    return node->type == XML_ELEMENT_NODE && View(node->name) == name;
}

// An attribute's value, or "" when the element has none.
std::string Attribute(const xmlNode* node, const char* name) {
    xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    std::string text(View(value));
    xmlFree(value);
    return text;
}

std::string Content(const xmlNode* node) {
    xmlChar* content = xmlNodeGetContent(node);
    std::string text(View(content));
    xmlFree(content);
    return text;
}

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

class TreeWalk {
  public:
    explicit TreeWalk(BaselineResult& result) : result_(result) {}

    void Visit(const xmlNode* node) {
        for (; node != nullptr; node = node->next) {
            if (node->type != XML_ELEMENT_NODE) {
                continue;
            }
            if (IsElement(node, "title")) {
                if (Content(node).starts_with("[管理者パスワードの初期設定]")) {
                    result_.initial_password_page = true;
                }
            } else if (IsElement(node, "h2")) {
                // A remark in parentheses is not part of the heading.
                heading_ = Content(node);
                heading_ = heading_.substr(0, heading_.find('('));
            } else if (IsElement(node, "td")) {
                Cell(node);
            } else if (IsElement(node, "input")) {
                if (result_.token.empty() && Attribute(node, "name") == "SESSION_ID") {
                    result_.token = Attribute(node, "value");
                }
            }
            Visit(node->children);
        }
    }

  private:
    void Cell(const xmlNode* node) {
        const std::string cell_class = Attribute(node, "class");
        if (cell_class == "small_item_td") {
            const std::string key = heading_ + std::string(Trim(Content(node)));
            item_ = lumora::kNoItem;
            for (int code = 0; code < lumora::kItemCount; ++code) {
                if (key == lumora::kItemKeys[code]) {
                    item_ = code;
                }
            }
        } else if (cell_class == "small_item_td2") {
            const std::string value = Content(node);
            const std::string_view trimmed = Trim(value);
            lumora::InterpretItemValue(item_, trimmed.data(), static_cast<int>(trimmed.size()));
            item_ = lumora::kNoItem;
        }
    }

    BaselineResult& result_;
    std::string heading_;
    int item_ = lumora::kNoItem;
};

}  // namespace

bool ReadPageWithLibxml2(const char* data, int size, BaselineResult& result) {
    result = BaselineResult{};
    result.status = lumora::FreshRouterStatus();
    htmlDocPtr document = htmlReadMemory(
        data, size, nullptr, "EUC-JP",
        HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET);
    if (document == nullptr) {
        return false;
    }
    // The library's value rules write to its current record.
    lumora::RouterStatus* previous = lumora::library_testing::CurrentStatus();
    lumora::library_testing::SetCurrentStatus(&result.status);
    TreeWalk(result).Visit(xmlDocGetRootElement(document));
    lumora::library_testing::SetCurrentStatus(previous);
    xmlFreeDoc(document);
    return true;
}

}  // namespace quirn::bench
