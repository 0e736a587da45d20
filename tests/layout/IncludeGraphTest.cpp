// Reads the quoted includes of every header and source file under src/ and checks that no
// unit includes itself through others. A header and the source files of the same name are
// one unit (MainWindow.h and MainWindow.cpp), so that a circle through a .cpp counts too.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

using Graph = std::map<std::string, std::set<std::string>>;

// The folders quoted includes are looked up in, after the including file's own folder: the
// source root, where the core's and the windows' headers are named with their layer
// ("core/records/Record.h", "ui/records/RecordsPage.h"), and the command line's own folder.
const char* const kIncludeRoots[] = {".", "cli"};

std::string UnitOf(const fs::path& file, const fs::path& sourceRoot) {
    fs::path relative = fs::relative(file, sourceRoot);
    relative.replace_extension();
    return relative.generic_string();
}

std::optional<fs::path> Resolve(const std::string& include, const fs::path& includingFile,
                                const fs::path& sourceRoot) {
    std::vector<fs::path> candidates = {includingFile.parent_path() / include};
    for (const char* root : kIncludeRoots) {
        candidates.push_back(sourceRoot / root / include);
    }
    for (const fs::path& candidate : candidates) {
        if (fs::is_regular_file(candidate)) {
            return fs::weakly_canonical(candidate);
        }
    }
    return std::nullopt;  // a library header
}

// Calls `seen` with every header and source file under `root` (before its first include, so
// that a file without includes is seen too, with an empty text) and with each quoted include.
void ForEachQuotedInclude(const fs::path& root,
                          const std::function<void(const fs::path&, const std::string&)>& seen) {
    const std::regex includeLine(R"re(^\s*#\s*include\s*"([^"]+)")re");
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string extension = entry.path().extension().string();
        if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp")) {
            continue;
        }
        seen(entry.path(), std::string());
        std::ifstream in(entry.path());
        std::string line;
        std::smatch match;
        while (std::getline(in, line)) {
            if (std::regex_search(line, match, includeLine)) {
                seen(entry.path(), match[1].str());
            }
        }
    }
}

// Unit -> units it includes (itself left out).
Graph ReadIncludeGraph(const fs::path& sourceRoot) {
    const fs::path root = fs::weakly_canonical(sourceRoot);
    Graph graph;
    ForEachQuotedInclude(root, [&](const fs::path& file, const std::string& include) {
        const std::string unit = UnitOf(file, root);
        std::set<std::string>& includes = graph[unit];
        if (include.empty()) {
            return;
        }
        if (const auto target = Resolve(include, file, root)) {
            const std::string included = UnitOf(*target, root);
            if (included != unit) {
                includes.insert(included);
            }
        }
    });
    return graph;
}

// One circle of the graph as a path whose last unit is its first, or nothing.
std::optional<std::vector<std::string>> FindCircle(const Graph& graph) {
    enum class Mark { Unvisited, OnPath, Done };
    std::map<std::string, Mark> marks;
    std::vector<std::string> path;
    std::optional<std::vector<std::string>> circle;

    const auto visit = [&](const auto& self, const std::string& unit) -> void {
        marks[unit] = Mark::OnPath;
        path.push_back(unit);
        const auto edges = graph.find(unit);
        if (edges != graph.end()) {
            for (const std::string& next : edges->second) {
                if (circle) {
                    return;
                }
                if (marks[next] == Mark::OnPath) {
                    circle.emplace(std::find(path.begin(), path.end(), next), path.end());
                    circle->push_back(next);
                    return;
                }
                if (marks[next] == Mark::Unvisited) {
                    self(self, next);
                }
            }
        }
        path.pop_back();
        marks[unit] = Mark::Done;
    };
    for (const auto& [unit, edges] : graph) {
        if (!circle && marks[unit] == Mark::Unvisited) {
            visit(visit, unit);
        }
    }
    return circle;
}

std::string Join(const std::vector<std::string>& units) {
    std::string text;
    for (const std::string& unit : units) {
        text += (text.empty() ? "" : " -> ") + unit;
    }
    return text;
}

// A scratch source tree of the given files and their texts.
class ScratchTree {
  public:
    explicit ScratchTree(const std::map<std::string, std::string>& files)
        : root_(fs::temp_directory_path() /
                ("travik-includes-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)))) {
        for (const auto& [name, text] : files) {
            fs::create_directories((root_ / name).parent_path());
            std::ofstream(root_ / name) << text;
        }
    }
    ~ScratchTree() { fs::remove_all(root_); }
    ScratchTree(const ScratchTree&) = delete;
    ScratchTree& operator=(const ScratchTree&) = delete;

    const fs::path& Root() const { return root_; }

  private:
    fs::path root_;
};

TEST(IncludeGraph, ACircleThroughASourceFileIsFound) {
    // The about box's source includes the main window, whose source includes the about box.
    const ScratchTree tree(
        {{"ui/app/About.h", "#pragma once\n"},
         {"ui/app/About.cpp", "#include \"ui/app/About.h\"\n#include \"ui/app/Main.h\"\n"},
         {"ui/app/Main.h", "#pragma once\n#include <QMainWindow>\n"},
         {"ui/app/Main.cpp", "#include \"ui/app/Main.h\"\n  #  include \"About.h\"\n"}});
    const auto circle = FindCircle(ReadIncludeGraph(tree.Root()));
    ASSERT_TRUE(circle.has_value());
    EXPECT_EQ(circle->size(), 3u);
    EXPECT_EQ(circle->front(), circle->back());
}

TEST(IncludeGraph, AHeaderAndItsSourceAloneAreNoCircle) {
    const ScratchTree tree({{"core/a/A.h", "#pragma once\n#include \"core/b/B.h\"\n"},
                            {"core/a/A.cpp", "#include \"core/a/A.h\"\n#include <vector>\n"},
                            {"core/b/B.h", "#pragma once\n"},
                            {"ui/C.cpp", "#include \"core/a/A.h\"\n#include \"B.h\"\n"}});
    const Graph graph = ReadIncludeGraph(tree.Root());
    EXPECT_FALSE(FindCircle(graph).has_value());
    EXPECT_EQ(graph.at("core/a/A"), (std::set<std::string>{"core/b/B"}));
    EXPECT_EQ(graph.at("ui/C"), (std::set<std::string>{"core/a/A"}));
}

TEST(IncludeGraph, TheProgramsSourcesHaveNoIncludeCircle) {
    const Graph graph = ReadIncludeGraph(TRAVIK_SOURCE_DIR);
    ASSERT_GT(graph.size(), 20u);
    const auto circle = FindCircle(graph);
    EXPECT_FALSE(circle.has_value()) << "include circle: " << Join(*circle);
}

TEST(IncludeGraph, TheCoreIncludesNothingOfTheWindowsOrTheCommandLine) {
    for (const auto& [unit, includes] : ReadIncludeGraph(TRAVIK_SOURCE_DIR)) {
        if (unit.rfind("core/", 0) != 0) {
            continue;
        }
        for (const std::string& included : includes) {
            EXPECT_EQ(included.rfind("core/", 0), 0u) << unit << " includes " << included;
        }
    }
}

// The frame (main window, program entry, about box) is the top floor: it includes the
// pages, and nothing of the windows includes it back.
TEST(IncludeGraph, NothingOfTheWindowsIncludesTheFrameAboveIt) {
    const Graph graph = ReadIncludeGraph(TRAVIK_SOURCE_DIR);
    ASSERT_TRUE(graph.count("ui/frame/MainWindow") == 1u);
    // The graph is read through the layer-named includes: the frame is seen to include a page.
    ASSERT_EQ(graph.at("ui/frame/MainWindow").count("ui/spectra/SpectraPage"), 1u);
    for (const auto& [unit, includes] : graph) {
        if (unit.rfind("ui/frame/", 0) == 0) {
            continue;
        }
        for (const std::string& included : includes) {
            EXPECT_NE(included.rfind("ui/frame/", 0), 0u) << unit << " includes " << included;
        }
    }
}

// The core and the windows have folders of the same names (records, analysis, measures,
// spectra, suite): an include of either names its layer, so that a reader can tell
// "core/records/…" from "ui/records/…" without knowing the include path.
TEST(IncludeGraph, IncludesOfTheCoreAndTheWindowsNameTheirLayer) {
    const fs::path root = fs::weakly_canonical(TRAVIK_SOURCE_DIR);
    int named = 0;
    ForEachQuotedInclude(root, [&](const fs::path& file, const std::string& include) {
        if (include.empty()) {
            return;
        }
        if (include.rfind("core/", 0) == 0 || include.rfind("ui/", 0) == 0) {
            ++named;
            return;
        }
        for (const fs::path& unnamed :
             {file.parent_path() / include, root / "core" / include, root / "ui" / include}) {
            const std::string layer = UnitOf(fs::weakly_canonical(unnamed), root);
            EXPECT_FALSE(fs::is_regular_file(unnamed) &&
                         (layer.rfind("core/", 0) == 0 || layer.rfind("ui/", 0) == 0))
                << UnitOf(file, root) << " includes \"" << include << "\" without its layer";
        }
    });
    EXPECT_GT(named, 500);
}

}  // namespace
