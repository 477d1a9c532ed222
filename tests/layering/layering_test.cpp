// The folders under src/ stack: each may include only the folders the table
// in src/dependencies.txt allows it, and its CMake libraries link exactly
// those. A forbidden include then fails here even where the build would
// let it through (a header reached through another library's link).

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kSourceDir = fs::path(VK_SOURCE_DIR) / "src";

struct Table {
    std::vector<std::string> order;                    // folders as listed, lowest first
    std::map<std::string, std::set<std::string>> uses; // folder -> folders it may include
};

Table readTable(const fs::path &file)
{
    Table table;
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        const auto colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        const std::string folder = line.substr(0, colon);
        std::istringstream rest(line.substr(colon + 1));
        std::set<std::string> uses;
        for (std::string name; rest >> name;)
            uses.insert(name);
        table.order.push_back(folder);
        table.uses[folder] = uses;
    }
    return table;
}

std::string readFile(const fs::path &file)
{
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The folder (relative to `root`) a file under `root` belongs to: the
// table's longest folder that is a prefix of its directory.
std::string folderOf(const Table &table, const fs::path &root, const fs::path &file)
{
    const std::string dir = fs::relative(file.parent_path(), root).generic_string();
    std::string best;
    for (const std::string &folder : table.order) {
        if ((dir == folder || dir.rfind(folder + "/", 0) == 0) && folder.size() > best.size())
            best = folder;
    }
    return best;
}

// The folder an include such as "ui/main/mainwindow.h" points into.
std::string includedFolder(const Table &table, const std::string &include)
{
    std::string best;
    for (const std::string &folder : table.order) {
        if (include.rfind(folder + "/", 0) == 0 && folder.size() > best.size())
            best = folder;
    }
    return best;
}

// A violation found in the tree: "file: text".
std::vector<std::string> forbiddenIncludes(const Table &table, const fs::path &root)
{
    static const std::regex includeLine(R"re(^\s*#\s*include\s*"([^"]+)")re");
    std::vector<std::string> found;
    for (const auto &entry : fs::recursive_directory_iterator(root)) {
        const std::string ext = entry.path().extension().string();
        if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp"))
            continue;
        const std::string from = folderOf(table, root, entry.path());
        std::ifstream in(entry.path());
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) {
            std::smatch match;
            if (!std::regex_search(line, match, includeLine))
                continue;
            const std::string to = includedFolder(table, match[1].str());
            const std::string where = fs::relative(entry.path(), root).generic_string() + ":" + std::to_string(number);
            if (from.empty())
                found.push_back(where + ": file in no folder of the table");
            else if (to.empty())
                found.push_back(where + ": \"" + match[1].str() + "\" is in no folder of the table");
            else if (to != from && !table.uses.at(from).contains(to))
                found.push_back(where + ": " + from + " may not include " + to);
        }
    }
    return found;
}

// The folders a folder's CMakeLists.txt links: every vk_ library named in
// its target_link_libraries calls, mapped back to its folder.
std::set<std::string> linkedFolders(const Table &table, const std::string &folder)
{
    const std::string text = readFile(kSourceDir / folder / "CMakeLists.txt");
    static const std::regex call(R"re(target_link_libraries\s*\(([^)]*)\))re");
    static const std::regex library(R"re(\bvk_([a-z_]+))re");
    std::set<std::string> linked;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), call); it != std::sregex_iterator(); ++it) {
        // The first word is the target being linked; the libraries follow.
        std::istringstream words((*it)[1].str());
        std::string target;
        words >> target;
        const std::string arguments((std::istreambuf_iterator<char>(words)), std::istreambuf_iterator<char>());
        for (auto lib = std::sregex_iterator(arguments.begin(), arguments.end(), library);
             lib != std::sregex_iterator(); ++lib) {
            std::string name = (*lib)[1].str();
            if (name.size() > 6 && name.ends_with("_rules"))
                name.resize(name.size() - 6);
            std::string linkedFolder;
            for (const std::string &candidate : table.order) {
                std::string asTarget = candidate;
                std::replace(asTarget.begin(), asTarget.end(), '/', '_');
                if (asTarget == name)
                    linkedFolder = candidate;
            }
            linked.insert(linkedFolder.empty() ? "?" + name : linkedFolder);
        }
    }
    linked.erase(folder);
    return linked;
}

class Layering : public testing::Test
{
protected:
    Table table = readTable(kSourceDir / "dependencies.txt");
};

TEST_F(Layering, everyArrowPointsDownTheTable)
{
    ASSERT_FALSE(table.order.empty());
    std::set<std::string> below;
    for (const std::string &folder : table.order) {
        for (const std::string &used : table.uses[folder]) {
            EXPECT_TRUE(below.contains(used)) << folder << " uses " << used << ", which is not below it";
        }
        below.insert(folder);
    }
}

TEST_F(Layering, everyFolderWithSourcesIsInTheTable)
{
    for (const auto &entry : fs::recursive_directory_iterator(kSourceDir)) {
        if (entry.is_regular_file() && entry.path().extension() == ".cpp") {
            EXPECT_FALSE(folderOf(table, kSourceDir, entry.path()).empty()) << entry.path();
        }
    }
}

TEST_F(Layering, noSourceIncludesAFolderTheTableForbids)
{
    const std::vector<std::string> found = forbiddenIncludes(table, kSourceDir);
    std::string list;
    for (const std::string &line : found)
        list += "\n  " + line;
    EXPECT_TRUE(found.empty()) << list;
}

TEST_F(Layering, eachFolderLinksExactlyWhatItMayInclude)
{
    for (const std::string &folder : table.order) {
        EXPECT_EQ(linkedFolders(table, folder), table.uses[folder]) << "in src/" << folder << "/CMakeLists.txt";
    }
}

// The check itself: a tree with an include against the table is caught,
// and one that keeps to it is not.
TEST_F(Layering, anIncludeUpTheTableIsCaught)
{
    const fs::path root = fs::temp_directory_path() / ("vk-layering-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "grid");
    fs::create_directories(root / "ui/main");
    std::ofstream(root / "grid/bad.cpp") << "#include \"grid/ok.h\"\n#include \"ui/main/mainwindow.h\"\n";
    std::ofstream(root / "ui/main/fine.cpp") << "#include \"skin/skintemplate.h\"\n#include <QWidget>\n";
    const std::vector<std::string> found = forbiddenIncludes(table, root);
    fs::remove_all(root);
    EXPECT_EQ(found, std::vector<std::string>{"grid/bad.cpp:2: grid may not include ui/main"});
}

} // namespace
