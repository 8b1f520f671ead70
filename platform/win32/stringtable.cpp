// Reading the embedded string table.
#include "platform/win32/stringtable.h"

#include "platform/win32/resources.h"
#include "platform/win32/resourcescriptreader.h"

#include <cstdio>
#include <stdexcept>

namespace platform
{

std::optional<std::string> StringTable::Load(UINT id)
{
    const EmbeddedResource* resource = FindEmbeddedResource("STRINGTABLE", "1");
    if (resource == nullptr)
        return std::nullopt;
    ResourceScriptReader reader(
        std::string_view(reinterpret_cast<const char*>(resource->data), resource->size));
    std::vector<ResourceScriptReader::Token> tokens;
    try
    {
        // Lines of: number "text"
        while (reader.NextLine(tokens))
        {
            if (tokens.size() != 2 || !tokens[1].quoted)
                reader.Fail("a string is: number \"text\"");
            if (reader.Number(tokens[0]) == static_cast<int>(id))
                return tokens[1].text;
        }
    }
    catch (const std::runtime_error& error)
    {
        // Built into the program: a damaged table is a build fault, told once here.
        std::fprintf(stderr, "string table: %s\n", error.what());
    }
    return std::nullopt;
}

} // namespace platform
