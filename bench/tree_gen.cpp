// The benchmark's installation: a tree of folders `depth` levels deep with
// `fanout` subfolders each and the files spread evenly over the folders.
//
//   tree_gen make <root> <files> <depth> <fanout>
//       creates the tree below <root> (a host path of the Wine drive)
//   tree_gen lists <out> <files> <depth> <fanout>
//       writes <out>/worst.lst (every folder before its contents),
//       <out>/best.lst (every folder after its contents) and
//       <out>/remove.nsi (an NSIS uninstaller with one Delete or RMDir per
//       entry of the best order), and prints the passes that the
//       uninstaller's removal makes over each list
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Node {
    std::string Path; // relative, backslashes
    int Parent;       // -1 for the top-level folders
    bool Folder;
    std::vector<int> Files;
    std::vector<int> Folders;
};

struct Tree {
    std::vector<Node> Nodes;
    std::vector<int> Top;
};

int AddFolder(Tree& tree, int parent, const std::string& name) {
    Node node;
    node.Path = parent < 0 ? name : tree.Nodes[parent].Path + "\\" + name;
    node.Parent = parent;
    node.Folder = true;
    tree.Nodes.push_back(node);
    int id = static_cast<int>(tree.Nodes.size()) - 1;
    if (parent < 0)
        tree.Top.push_back(id);
    else
        tree.Nodes[parent].Folders.push_back(id);
    return id;
}

void AddFolders(Tree& tree, int parent, int level, int depth, int fanout,
                std::vector<int>* folders) {
    if (level > depth)
        return;
    for (int i = 0; i < fanout; i++) {
        int id = AddFolder(tree, parent, "level" + std::to_string(level) + "_" + std::to_string(i));
        folders->push_back(id);
        AddFolders(tree, id, level + 1, depth, fanout, folders);
    }
}

Tree MakeTree(int files, int depth, int fanout) {
    Tree tree;
    std::vector<int> folders;
    AddFolders(tree, -1, 1, depth, fanout, &folders);
    int count = static_cast<int>(folders.size());
    for (int i = 0; i < files; i++) {
        int folder = folders[static_cast<size_t>(i % count)];
        char name[32];
        snprintf(name, sizeof(name), "file%05d.dat", i);
        Node node;
        node.Path = tree.Nodes[folder].Path + "\\" + name;
        node.Parent = folder;
        node.Folder = false;
        tree.Nodes.push_back(node);
        tree.Nodes[folder].Files.push_back(static_cast<int>(tree.Nodes.size()) - 1);
    }
    return tree;
}

void Order(const Tree& tree, int id, bool foldersFirst, std::vector<int>* out) {
    const Node& node = tree.Nodes[id];
    if (foldersFirst)
        out->push_back(id);
    for (int f : node.Files)
        out->push_back(f);
    for (int d : node.Folders)
        Order(tree, d, foldersFirst, out);
    if (!foldersFirst)
        out->push_back(id);
}

std::vector<int> ListOrder(const Tree& tree, bool foldersFirst) {
    std::vector<int> out;
    for (int top : tree.Top)
        Order(tree, top, foldersFirst, &out);
    return out;
}

// The removal passes as the uninstaller makes them: every entry in list
// order, a file always goes, a folder only once it is empty; passes until
// one removes nothing. Returns the number of passes.
int Passes(const Tree& tree, const std::vector<int>& order) {
    std::vector<int> children(tree.Nodes.size(), 0);
    std::vector<bool> present(tree.Nodes.size(), true);
    for (const Node& node : tree.Nodes) {
        if (node.Parent >= 0)
            children[static_cast<size_t>(node.Parent)]++;
    }
    int passes = 0;
    for (;;) {
        passes++;
        int removed = 0;
        for (int id : order) {
            size_t i = static_cast<size_t>(id);
            if (!present[i] || (tree.Nodes[i].Folder && children[i] > 0))
                continue;
            present[i] = false;
            if (tree.Nodes[i].Parent >= 0)
                children[static_cast<size_t>(tree.Nodes[i].Parent)]--;
            removed++;
        }
        if (removed == 0)
            return passes;
    }
}

bool WriteText(const std::string& path, const std::string& text) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = fwrite(text.data(), 1, text.size(), f) == text.size();
    return fclose(f) == 0 && ok;
}

std::string ListText(const Tree& tree, const std::vector<int>& order) {
    std::string text;
    for (int id : order)
        text += tree.Nodes[static_cast<size_t>(id)].Path + "\r\n";
    return text;
}

std::string NsisScript(const Tree& tree, const std::vector<int>& order) {
    std::string s = "Unicode true\n"
                    "Name \"Bench\"\n"
                    "OutFile \"bench_setup.exe\"\n"
                    "InstallDir \"C:\\bench\\nsis\"\n"
                    "RequestExecutionLevel user\n"
                    "SilentInstall silent\n"
                    "SilentUnInstall silent\n"
                    "ShowUninstDetails nevershow\n"
                    "Section\n"
                    "  SetOutPath \"$INSTDIR\"\n"
                    "  WriteUninstaller \"$INSTDIR\\uninst.exe\"\n"
                    "SectionEnd\n"
                    "Section \"Uninstall\"\n";
    for (int id : order) {
        const Node& node = tree.Nodes[static_cast<size_t>(id)];
        s += node.Folder ? "  RMDir \"$INSTDIR\\" : "  Delete \"$INSTDIR\\";
        s += node.Path + "\"\n";
    }
    s += "SectionEnd\n";
    return s;
}

std::string HostPath(std::string path) {
    for (char& c : path) {
        if (c == '\\')
            c = '/';
    }
    return path;
}

bool MakeOnDisk(const Tree& tree, const std::string& root) {
    static const char kContent[] = "Molvex benchmark file: a few bytes, as small files are.\r\n";
    for (const Node& node : tree.Nodes) {
        std::string path = root + "/" + HostPath(node.Path);
        if (node.Folder) {
            if (mkdir(path.c_str(), 0755) != 0 && errno != EEXIST)
                return false;
        } else if (!WriteText(path, kContent)) {
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        fprintf(stderr, "usage: tree_gen make|lists <dir> <files> <depth> <fanout>\n");
        return 2;
    }
    Tree tree = MakeTree(atoi(argv[3]), atoi(argv[4]), atoi(argv[5]));
    std::string dir = argv[2];
    if (strcmp(argv[1], "make") == 0)
        return MakeOnDisk(tree, dir) ? 0 : 1;
    if (strcmp(argv[1], "lists") != 0)
        return 2;
    std::vector<int> worst = ListOrder(tree, true);
    std::vector<int> best = ListOrder(tree, false);
    if (!WriteText(dir + "/worst.lst", ListText(tree, worst)) ||
        !WriteText(dir + "/best.lst", ListText(tree, best)) ||
        !WriteText(dir + "/remove.nsi", NsisScript(tree, best)))
        return 1;
    int folders = 0;
    for (const Node& node : tree.Nodes)
        folders += node.Folder ? 1 : 0;
    printf("entries %zu\nfolders %d\n", tree.Nodes.size(), folders);
    printf("passes_worst %d\npasses_best %d\n", Passes(tree, worst), Passes(tree, best));
    return 0;
}
