// The resources of the built program and of the sample language module, read
// back from the files byte for byte: every template header field and item,
// the logo's format, the version information, and nothing else.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../ui/version_line.h"

namespace {

// Reads a dialog template as text, field by field, so that a difference
// shows where it is.
class TemplateReader {
public:
    explicit TemplateReader(const BYTE *bytes) : start(bytes), at(bytes) {}
    WORD Word() { WORD value = *(const WORD *)at; at += 2; return value; }
    DWORD Dword() { DWORD value = *(const DWORD *)at; at += 4; return value; }
    short Short() { return (short)Word(); }
    void AlignToDword() { at = start + ((at - start + 3) & ~3); }
    // A name: empty, an ordinal "#n", or a text.
    std::string NameOrOrdinal()
    {
        WORD first = Word();
        if (first == 0xFFFF)
            return "#" + std::to_string(Word());
        std::string text;
        for (WORD c = first; c; c = Word())
            text += c < 0x80 ? std::string(1, (char)c) : "\\u" + std::to_string(c);
        return text;
    }
    std::string Text() { return "'" + NameOrOrdinal() + "'"; }

private:
    const BYTE *start, *at;
};

std::string Hex(DWORD value)
{
    char text[16];
    wsprintfA(text, "%lx", value);
    return text;
}

std::string Place(TemplateReader &in)
{
    short x = in.Short(), y = in.Short(), cx = in.Short(), cy = in.Short();
    return " at " + std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(cx) + "x" +
           std::to_string(cy);
}

std::string DescribeTemplate(const BYTE *bytes)
{
    TemplateReader in(bytes);
    std::string text;
    bool extended = ((const WORD *)bytes)[1] == 0xFFFF;
    DWORD style;
    WORD items;
    if (extended) {
        WORD version = in.Word(), signature = in.Word();
        DWORD help = in.Dword(), exStyle = in.Dword();
        style = in.Dword();
        items = in.Word();
        text = "DIALOGEX version " + std::to_string(version) + " signature " + Hex(signature) + " help " +
               std::to_string(help) + " exstyle " + Hex(exStyle) + " style " + Hex(style);
    } else {
        style = in.Dword();
        DWORD exStyle = in.Dword();
        items = in.Word();
        text = "DIALOG style " + Hex(style) + " exstyle " + Hex(exStyle);
    }
    text += " items " + std::to_string(items) + Place(in);
    text += " menu " + in.Text();
    text += " class " + in.Text();
    text += " caption " + in.Text();
    if (style & DS_SETFONT) {
        text += " font " + std::to_string(in.Word());
        if (extended) {
            WORD weight = in.Word();
            WORD italicAndCharset = in.Word(); // one byte each
            int italic = italicAndCharset & 0xFF, charset = italicAndCharset >> 8;
            text += " weight " + std::to_string(weight) + " italic " + std::to_string(italic) + " charset " +
                    std::to_string(charset);
        }
        text += " " + in.Text();
    }
    text += "\n";
    for (WORD i = 0; i < items; i++) {
        in.AlignToDword();
        if (extended) {
            DWORD help = in.Dword(), exStyle = in.Dword(), itemStyle = in.Dword();
            std::string place = Place(in);
            DWORD id = in.Dword();
            text += "  help " + std::to_string(help) + " exstyle " + Hex(exStyle) + " style " + Hex(itemStyle) +
                    place + " id " + Hex(id);
        } else {
            DWORD itemStyle = in.Dword(), exStyle = in.Dword();
            std::string place = Place(in);
            WORD id = in.Word();
            text += "  style " + Hex(itemStyle) + " exstyle " + Hex(exStyle) + place + " id " + Hex(id);
        }
        text += " class " + in.Text();
        text += " text " + in.Text();
        text += " data " + std::to_string(in.Word()) + "\n";
    }
    return text;
}

std::string ProductPath() { return SQV_PRODUCT_EXE; }

std::string LanguageModulePath()
{
    std::string path = ProductPath();
    return path.substr(0, path.find_last_of("/\\") + 1) + "sqvnls.dll";
}

struct Resource {
    const BYTE *bytes;
    DWORD size;
};

Resource Find(HMODULE module, LPCSTR type, int id)
{
    HRSRC found = FindResourceExA(module, type, MAKEINTRESOURCEA(id), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
    if (!found)
        found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
    if (!found)
        return {0, 0};
    return {(const BYTE *)LockResource(LoadResource(module, found)), SizeofResource(module, found)};
}

// Every resource as "type/name/language".
BOOL CALLBACK AddLanguage(HMODULE, LPCSTR type, LPCSTR name, WORD language, LONG_PTR list)
{
    ((std::vector<std::string> *)list)->push_back(std::to_string((ULONG_PTR)type) + "/" +
                                                  std::to_string((ULONG_PTR)name) + "/" + Hex(language));
    return TRUE;
}
BOOL CALLBACK AddName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR list)
{
    return EnumResourceLanguagesA(module, type, name, AddLanguage, list);
}
BOOL CALLBACK AddType(HMODULE module, LPSTR type, LONG_PTR list)
{
    return EnumResourceNamesA(module, type, AddName, list);
}
std::vector<std::string> ListResources(HMODULE module)
{
    std::vector<std::string> list;
    EnumResourceTypesA(module, AddType, (LONG_PTR)&list);
    return list;
}

class ProgramResources : public ::testing::Test {
protected:
    void SetUp() override
    {
        module = LoadLibraryExA(ProductPath().c_str(), 0, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_TRUE(module) << ProductPath();
    }
    void TearDown() override { FreeLibrary(module); }
    HMODULE module = 0;
};

TEST_F(ProgramResources, DialogTemplatesHoldEveryFieldAsDesigned)
{
    const struct {
        int id;
        const char *expected;
    } cases[] = {
        {1000, "DIALOGEX version 1 signature ffff help 0 exstyle 0 style 80c808c0 items 4 at 0,0 153x130"
               " menu '' class '' caption 'Halvane(tm) Driver Uninstall'"
               " font 8 weight 0 italic 0 charset 1 'MS Sans Serif'\n"
               "  help 0 exstyle 0 style 50010001 at 7,62 139x17 id 3ec class '#128'"
               " text 'Uninstall Halvane(tm) Driver' data 0\n"
               "  help 0 exstyle 0 style 50010000 at 8,84 139x17 id 2 class '#128' text 'Cancel' data 0\n"
               "  help 0 exstyle 0 style 50010000 at 7,106 139x17 id 3f1 class '#128' text 'About' data 0\n"
               "  help 0 exstyle 200 style 5080100e at 7,7 139x50 id ffffffff class '#130'"
               " text '#1001' data 0\n"},
        {1002, "DIALOG style 80c808c2 exstyle 0 items 4 at 0,0 220x54"
               " menu '' class '' caption 'Halvane(tm) Uninstall Complete' font 8 'MS Sans Serif'\n"
               "  style 50010000 exstyle 0 at 5,32 63x14 id 3ee class '#128' text 'Shutdown' data 0\n"
               "  style 50010000 exstyle 0 at 76,32 63x14 id 3ef class '#128' text 'Restart' data 0\n"
               "  style 50010000 exstyle 0 at 147,32 63x14 id 2 class '#128' text 'Cancel' data 0\n"
               "  style 50020000 exstyle 0 at 8,7 204x25 id ffff class '#130'"
               " text 'The uninstall is complete and will take effect the next time you start"
               " Windows 95.  Please re-boot your machine now.' data 0\n"},
        {1003, "DIALOG style 80c808c0 exstyle 0 items 4 at 0,0 186x66"
               " menu '' class '' caption 'About' font 8 'MS Sans Serif'\n"
               "  style 50010001 exstyle 0 at 59,45 50x14 id 2 class '#128' text 'OK' data 0\n"
               "  style 50020000 exstyle 0 at 7,13 165x10 id ffff class '#130'"
               " text 'Halvane(tm) Uninstall Utility' data 0\n"
               "  style 50020000 exstyle 0 at 7,23 165x10 id ffff class '#130'"
               " text 'Copyright (C) 1998 Halvane Audio Systems' data 0\n"
               "  style 50020000 exstyle 0 at 7,33 165x10 id 3f3 class '#130' text 'Version %d.%d' data 0\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE("template " + std::to_string(c.id));
        Resource dialog = Find(module, RT_DIALOG, c.id);
        ASSERT_TRUE(dialog.bytes);
        EXPECT_EQ(c.expected, DescribeTemplate(dialog.bytes));
    }
}

TEST_F(ProgramResources, LogoIsA256ColourBottomUpBitmap)
{
    Resource logo = Find(module, RT_BITMAP, 1001);
    ASSERT_TRUE(logo.bytes);
    const BITMAPINFOHEADER &header = *(const BITMAPINFOHEADER *)logo.bytes;
    EXPECT_EQ(40u, header.biSize);
    EXPECT_EQ(200, header.biWidth);
    EXPECT_EQ(73, header.biHeight) << "positive: bottom-up";
    EXPECT_EQ(1, header.biPlanes);
    EXPECT_EQ(8, header.biBitCount);
    EXPECT_EQ((DWORD)BI_RGB, header.biCompression);
    EXPECT_TRUE(header.biClrUsed == 0 || header.biClrUsed == 256) << header.biClrUsed;
    EXPECT_EQ(40u + 1024 + 14600, logo.size);
}

// The fixed part and the eight strings in their order; no VarFileInfo.
TEST_F(ProgramResources, VersionInformationHasItsFixedPartAndEightStrings)
{
    Resource version = Find(module, RT_VERSION, 1);
    ASSERT_TRUE(version.bytes);
    // A node: length, value length, type, key, padding, value, children.
    struct Node {
        const BYTE *at;
        WORD length, valueLength;
        std::string key;
        const BYTE *value, *children, *end;
    };
    auto read = [](const BYTE *at) {
        Node node;
        node.at = at;
        node.length = ((const WORD *)at)[0];
        node.valueLength = ((const WORD *)at)[1];
        const WCHAR *key = (const WCHAR *)(at + 6);
        for (; *key; key++)
            node.key += (char)*key;
        const BYTE *afterKey = (const BYTE *)(key + 1);
        node.value = at + ((afterKey - at + 3) & ~3);
        WORD type = ((const WORD *)at)[2];
        size_t valueBytes = type == 1 ? node.valueLength * 2 : node.valueLength;
        node.children = at + ((node.value + valueBytes - at + 3) & ~3);
        node.end = at + node.length;
        return node;
    };
    Node root = read(version.bytes);
    EXPECT_EQ("VS_VERSION_INFO", root.key);
    ASSERT_EQ(sizeof(VS_FIXEDFILEINFO), root.valueLength);
    const VS_FIXEDFILEINFO &fixed = *(const VS_FIXEDFILEINFO *)root.value;
    EXPECT_EQ(0xFEEF04BDu, fixed.dwSignature);
    EXPECT_EQ(0x3Fu, fixed.dwFileFlagsMask);
    EXPECT_EQ(0u, fixed.dwFileFlags);
    EXPECT_EQ((DWORD)VOS_DOS_WINDOWS16, fixed.dwFileOS);
    EXPECT_EQ((DWORD)VFT_APP, fixed.dwFileType);
    EXPECT_EQ(0u, fixed.dwFileSubtype);
    EXPECT_EQ(0u, fixed.dwFileDateMS | fixed.dwFileDateLS);

    std::vector<std::string> blocks, keys;
    for (const BYTE *at = root.children; at < root.end; at += (read(at).length + 3) & ~3) {
        Node block = read(at);
        blocks.push_back(block.key);
        for (const BYTE *t = block.children; t < block.end; t += (read(t).length + 3) & ~3) {
            Node table = read(t);
            blocks.push_back(table.key);
            for (const BYTE *s = table.children; s < table.end; s += (read(s).length + 3) & ~3)
                keys.push_back(read(s).key);
        }
    }
    EXPECT_EQ((std::vector<std::string>{"StringFileInfo", "040904E4"}), blocks);
    EXPECT_EQ((std::vector<std::string>{"CompanyName", "FileDescription", "FileVersion", "InternalName",
                                        "LegalCopyright", "OriginalFilename", "ProductName", "ProductVersion"}),
              keys);
}

// U.S. English only, and no icon, menu, string table or accelerators.
TEST_F(ProgramResources, HoldsNothingElse)
{
    EXPECT_EQ((std::vector<std::string>{"2/1001/409", "5/1000/409", "5/1002/409", "5/1003/409", "16/1/409"}),
              ListResources(module));
}

// The sample module: German main and completion dialogs, no About dialog,
// nothing else, and no code to run.
TEST(LanguageModule, HoldsTwoTranslatedTemplatesOnly)
{
    HMODULE module = LoadLibraryExA(LanguageModulePath().c_str(), 0, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(module) << LanguageModulePath();
    EXPECT_EQ((std::vector<std::string>{"5/1000/407", "5/1002/407"}), ListResources(module));
    FreeLibrary(module);
}

TEST(VersionLine, ExpandsTwoNumbersAndNothingElse)
{
    const std::string longText(300, 'a');
    const struct {
        const char *format;
        unsigned size;
        const char *expected;
    } cases[] = {
        {"Version %d.%d", 256, "Version 1.11"},
        {"Versie %d,%d", 256, "Versie 1,11"},
        {"%d%%%d", 256, "1%11"},
        // Conversions a module must not steer: copied as they stand.
        {"%s %n %x %ld %5d", 256, "%s %n %x %ld %5d"},
        {"%d.%d.%d", 256, "1.11.%d"},
        {"100%", 256, "100%"},
        {"", 256, ""},
        {longText.c_str(), 256, nullptr}, // cut to 255 characters
        {"%d%d", 4, "111"},
        {"%d%d", 3, "11"},
        {"abc", 1, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string("format \"") + c.format + "\", size " + std::to_string(c.size));
        char line[300];
        memset(line, 0xCC, sizeof line);
        FormatVersionLine(line, c.size, c.format, 1, 11);
        EXPECT_EQ(c.expected ? std::string(c.expected) : std::string(255, 'a'), std::string(line));
        EXPECT_EQ((char)0xCC, line[c.size]) << "written past the buffer";
    }
}

} // namespace
