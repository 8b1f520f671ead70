// Reading dialog templates from the embedded resource scripts.
#include "platform/framework/dialogtemplate.h"

#include "platform/win32/resources.h"
#include "platform/win32/resourcescriptreader.h"

#include <array>
#include <stdexcept>
#include <string>

namespace platform
{

namespace
{

using Token = ResourceScriptReader::Token;
using Kind = DialogItemTemplate::Kind;

struct StyleName
{
    std::string_view name;
    DWORD value;
};

constexpr std::array kStyles{
    StyleName{"WS_POPUP", WS_POPUP},           StyleName{"WS_CHILD", WS_CHILD},
    StyleName{"WS_VISIBLE", WS_VISIBLE},       StyleName{"WS_CAPTION", WS_CAPTION},
    StyleName{"WS_BORDER", WS_BORDER},         StyleName{"WS_SYSMENU", WS_SYSMENU},
    StyleName{"WS_GROUP", WS_GROUP},           StyleName{"WS_TABSTOP", WS_TABSTOP},
    StyleName{"DS_MODALFRAME", DS_MODALFRAME}, StyleName{"ES_AUTOHSCROLL", ES_AUTOHSCROLL},
};

struct KindName
{
    std::string_view name;
    Kind kind;
    DWORD style; // what the kind implies, as resource scripts have it
};

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr std::array kKinds{
    KindName{"LTEXT", Kind::Text, kChild | WS_GROUP},
    KindName{"ICON", Kind::Icon, kChild},
    KindName{"PUSHBUTTON", Kind::PushButton, kChild | WS_TABSTOP},
    KindName{"DEFPUSHBUTTON", Kind::DefPushButton, kChild | WS_TABSTOP},
    KindName{"EDITTEXT", Kind::Edit, kChild | WS_TABSTOP | WS_BORDER},
};

DWORD Styles(const ResourceScriptReader& reader, const std::vector<Token>& tokens,
             std::size_t first)
{
    DWORD style = 0;
    for (std::size_t i = first; i < tokens.size(); ++i)
    {
        bool known = false;
        for (const StyleName& s : kStyles)
            if (!tokens[i].quoted && tokens[i].text == s.name)
            {
                style |= s.value;
                known = true;
            }
        if (!known)
            reader.Fail("unknown style " + tokens[i].text);
    }
    return style;
}

DialogItemTemplate Control(const ResourceScriptReader& reader, const std::vector<Token>& tokens)
{
    const KindName* kind = nullptr;
    for (const KindName& k : kKinds)
        if (!tokens[0].quoted && tokens[0].text == k.name)
            kind = &k;
    if (kind == nullptr)
        reader.Fail("unknown control " + tokens[0].text);

    DialogItemTemplate item;
    item.kind = kind->kind;
    std::size_t next = 1;
    if (item.kind != Kind::Edit)
    {
        if (tokens.size() < 2 || (item.kind != Kind::Icon && !tokens[1].quoted))
            reader.Fail("the control's text is missing");
        item.text = tokens[next++].text;
    }
    if (tokens.size() < next + 5)
        reader.Fail("a control needs an id, x, y, width and height");
    item.id = reader.Number(tokens[next]);
    item.x = reader.Number(tokens[next + 1]);
    item.y = reader.Number(tokens[next + 2]);
    item.cx = reader.Number(tokens[next + 3]);
    item.cy = reader.Number(tokens[next + 4]);
    if (item.cx < 0 || item.cy < 0)
        reader.Fail("a control's size cannot be negative");
    item.style = kind->style | Styles(reader, tokens, next + 5);
    return item;
}

} // namespace

DialogTemplate DialogTemplate::Parse(std::string_view utf8)
{
    ResourceScriptReader reader(utf8);
    std::vector<Token> tokens;
    DialogTemplate result;

    if (!reader.NextLine(tokens) || tokens.size() != 6 || tokens[1].text != "DIALOG")
        reader.Fail("a template begins with: id DIALOG x, y, width, height");
    result.id = reader.Number(tokens[0]);
    result.x = reader.Number(tokens[2]);
    result.y = reader.Number(tokens[3]);
    result.cx = reader.Number(tokens[4]);
    result.cy = reader.Number(tokens[5]);
    if (result.cx <= 0 || result.cy <= 0)
        reader.Fail("the dialog needs a size");

    // The statements before the controls, then the controls up to END.
    while (true)
    {
        if (!reader.NextLine(tokens))
            reader.Fail("BEGIN is missing");
        const std::string& word = tokens[0].text;
        if (word == "BEGIN" && tokens.size() == 1)
            break;
        if (word == "STYLE")
            result.style = Styles(reader, tokens, 1);
        else if (word == "CAPTION" && tokens.size() == 2 && tokens[1].quoted)
            result.caption = tokens[1].text;
        else if (word == "FONT" && tokens.size() == 3 && tokens[2].quoted)
        {
            if (reader.Number(tokens[1]) != 8)
                reader.Fail("only the 8-point dialog font exists");
        }
        else
            reader.Fail("unknown statement " + word);
    }
    while (true)
    {
        if (!reader.NextLine(tokens))
            reader.Fail("END is missing");
        if (tokens[0].text == "END" && tokens.size() == 1 && !tokens[0].quoted)
            break;
        result.items.push_back(Control(reader, tokens));
    }
    if (reader.NextLine(tokens))
        reader.Fail("nothing may follow END");
    return result;
}

std::optional<DialogTemplate> DialogTemplate::Load(UINT id)
{
    const EmbeddedResource* resource = FindEmbeddedResource("DIALOG", std::to_string(id));
    if (resource == nullptr)
        return std::nullopt;
    DialogTemplate result =
        Parse(std::string_view(reinterpret_cast<const char*>(resource->data), resource->size));
    if (result.id != static_cast<int>(id))
        throw std::runtime_error("template " + std::to_string(id) + " calls itself " +
                                 std::to_string(result.id));
    return result;
}

} // namespace platform
