// The data sets, generated deterministically from the seed:
//   documents  about 1,000 files, about 200 MB: text-like and incompressible files in nested folders
//   small      20,000 files of 0 to 4 KiB
//   big        one 512 MiB file, 1 MiB blocks of text-like and incompressible data in turn
//   mixed      thousands of small files and a few large ones (the creation-speed set)
//   profile    100,000 text files of 1 byte to 8 KiB in 2,000 folders (40 folders of 49 each),
//              every other one a .pdf (the ZIP profile benchmark)
// Names are ASCII: the engine's restricted pax writer refuses other names.
#include <math.h>
#include <stdio.h>

#include "bench/bench.h"
#include "engine/safe_paths.h"

namespace {

// splitmix64: small, fast and the same everywhere.
struct Random {
    uint64_t state;
    uint64_t next() {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    uint32_t below(uint32_t n) { return n == 0 ? 0 : (uint32_t)(next() % n); }
    double unit() { return (double)(next() >> 11) / 9007199254740992.0; }
};

const char* const WORDS[] = {
    "archive",  "report",   "budget",   "meeting",    "project",   "invoice", "customer", "delivery", "warehouse",
    "quarter",  "summary",  "analysis", "the",        "and",       "of",      "to",       "in",       "for",
    "with",     "on",       "by",       "from",       "Warszawa",  "Krakow",  "Gdansk",   "Poznan",   "Wroclaw",
    "Lodz",     "umowa",    "faktura",  "zamowienie", "klient",    "dostawa", "termin",   "raport",   "kwartal",
    "sprzedaz", "magazyn",  "projekt",  "notatka",    "spotkanie", "oferta",  "cennik",   "zespol",   "system",
    "network",  "server",   "backup",   "folder",     "document",  "version", "draft",    "final",    "review",
    "approved", "pending",  "total",    "net",        "gross",     "tax",     "VAT",      "PLN",      "EUR",
    "January",  "February", "March",    "April",      "May",       "June",    "July",     "August",   "September",
    "October",  "November", "December", "Monday",     "Tuesday",   "Friday",  "is",       "was",      "will",
    "be",       "not",      "all",      "new",        "old",       "first",   "last",     "next",     "please",
    "send",     "check",    "update",   "attached",   "below",     "above",   "note",     "data",     "table",
};
const uint32_t WORD_COUNT = sizeof(WORDS) / sizeof(WORDS[0]);

// Text with the redundancy of office documents: words, numbers, punctuation and line breaks.
void fill_text(Random& random, char* out, size_t size) {
    size_t at = 0;
    uint32_t in_line = 0;
    while (at < size) {
        char piece[32];
        int length;
        uint32_t pick = random.below(16);
        if (pick == 0)
            length = snprintf(piece, sizeof(piece), "%u.%02u", random.below(100000), random.below(100));
        else
            length = snprintf(piece, sizeof(piece), "%s", WORDS[random.below(WORD_COUNT)]);
        ++in_line;
        const char* end = " ";
        if (in_line > 6 + random.below(10)) {
            end = random.below(3) == 0 ? ".\r\n\r\n" : ".\r\n";
            in_line = 0;
        } else if (random.below(12) == 0) {
            end = ", ";
        }
        for (int i = 0; i < length && at < size; ++i) out[at++] = piece[i];
        for (const char* c = end; *c != 0 && at < size; ++c) out[at++] = *c;
    }
}

void fill_random(Random& random, char* out, size_t size) {
    size_t at = 0;
    while (at < size) {
        uint64_t value = random.next();
        for (int i = 0; i < 8 && at < size; ++i, value >>= 8) out[at++] = (char)value;
    }
}

enum Content { TEXT, RANDOM, HALF };

const size_t BLOCK = 1 << 20;

// Writes a new file of the given size; HALF alternates 1 MiB blocks of text and random data.
bool write_file(const std::wstring& path, uint64_t size, Content content, Random& random, std::vector<char>& buffer) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        fprintf(stderr, "cannot create %ls\n", path.c_str());
        return false;
    }
    bool ok = true;
    uint64_t written = 0;
    uint64_t block = 0;
    while (ok && written < size) {
        size_t part = (size_t)((size - written) < BLOCK ? (size - written) : BLOCK);
        bool text = content == TEXT || (content == HALF && block % 2 == 0);
        if (text)
            fill_text(random, buffer.data(), part);
        else
            fill_random(random, buffer.data(), part);
        DWORD done = 0;
        ok = WriteFile(file, buffer.data(), (DWORD)part, &done, nullptr) && done == part;
        written += part;
        ++block;
    }
    CloseHandle(file);
    return ok;
}

bool make_folder(const std::wstring& path) {
    return CreateDirectoryW(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

const wchar_t* const TEXT_EXTENSIONS[] = {L"txt", L"csv", L"html", L"xml", L"log", L"rtf"};
const wchar_t* const BINARY_EXTENSIONS[] = {L"jpg", L"png", L"pdf", L"docx", L"mp3"};

bool generate_documents(const Options& options, const std::wstring& root, Random& random, std::vector<char>& buffer) {
    uint32_t count = options.documents_files;
    // Log-uniform sizes between 512 bytes and 4 MiB, scaled to the total.
    std::vector<double> weights(count);
    double sum = 0;
    for (uint32_t i = 0; i < count; ++i) {
        weights[i] = exp(log(512.0) + random.unit() * (log(4194304.0) - log(512.0)));
        sum += weights[i];
    }
    uint64_t total = (uint64_t)options.documents_mb * 1000000ull;
    for (uint32_t i = 0; i < count; ++i) {
        uint64_t size = (uint64_t)(weights[i] * (double)total / sum);
        bool text = random.below(100) < 65;
        // Folders: section-NN, then part-N in most of them, then old in some.
        std::wstring folder = root;
        wchar_t name[64];
        swprintf(name, 64, L"\\section-%02u", random.below(12));
        folder += name;
        if (!make_folder(folder)) return false;
        uint32_t part = random.below(5);
        if (part > 0) {
            swprintf(name, 64, L"\\part-%u", part);
            folder += name;
            if (!make_folder(folder)) return false;
            if (random.below(4) == 0) {
                folder += L"\\old";
                if (!make_folder(folder)) return false;
            }
        }
        swprintf(name, 64, L"\\doc-%05u.%ls", i,
                 text ? TEXT_EXTENSIONS[random.below(6)] : BINARY_EXTENSIONS[random.below(5)]);
        if (!write_file(folder + name, size, text ? TEXT : RANDOM, random, buffer)) return false;
    }
    return true;
}

bool generate_small(uint32_t count, uint32_t max_bytes, const std::wstring& root, Random& random,
                    std::vector<char>& buffer) {
    for (uint32_t i = 0; i < count; ++i) {
        wchar_t name[64];
        swprintf(name, 64, L"\\batch-%03u", i / 500);
        std::wstring folder = root + name;
        if (i % 500 == 0 && !make_folder(folder)) return false;
        swprintf(name, 64, L"\\note-%05u.txt", i);
        bool text = random.below(100) < 85;
        if (!write_file(folder + name, random.below(max_bytes + 1), text ? TEXT : RANDOM, random, buffer)) return false;
    }
    return true;
}

bool generate_profile_tree(const Options& options, const std::wstring& root, Random& random,
                           std::vector<char>& buffer) {
    const uint32_t tops = 40;
    uint32_t per_top = options.profile_folders / tops;  // the top folder and the folders inside it
    std::vector<std::wstring> folders;
    for (uint32_t t = 0; t < tops; ++t) {
        wchar_t name[64];
        swprintf(name, 64, L"\\area-%02u", t);
        folders.push_back(root + name);
        for (uint32_t f = 1; f < per_top; ++f) {
            swprintf(name, 64, L"\\box-%02u", f);
            folders.push_back(folders[t * per_top] + name);
        }
    }
    for (const std::wstring& folder : folders)
        if (!make_folder(folder)) return false;
    for (uint32_t i = 0; i < options.profile_files; ++i) {
        wchar_t name[64];
        swprintf(name, 64, L"\\file-%06u.%ls", i, i % 2 == 0 ? L"pdf" : L"txt");
        uint64_t size = 1 + random.below(options.profile_max_bytes);
        if (!write_file(folders[i % folders.size()] + name, size, TEXT, random, buffer)) return false;
    }
    return true;
}

bool generate(const Options& options, const DataSet& set, Random& random) {
    std::wstring root = set.folder + L"\\" + set.root_name;
    if (!make_folder(set.folder) || !make_folder(root)) return false;
    std::vector<char> buffer(BLOCK);
    if (set.id == L"documents") return generate_documents(options, root, random, buffer);
    if (set.id == L"small") return generate_small(options.small_files, options.small_max_bytes, root, random, buffer);
    if (set.id == L"profile") return generate_profile_tree(options, root, random, buffer);
    if (set.id == L"big") return write_file(root + L"\\big.bin", (uint64_t)options.big_mb << 20, HALF, random, buffer);
    // mixed
    if (!generate_small(options.mixed_small_files, options.mixed_small_max_bytes, root, random, buffer)) return false;
    if (!make_folder(root + L"\\large")) return false;
    for (uint32_t i = 0; i < options.mixed_large_files; ++i) {
        wchar_t name[64];
        swprintf(name, 64, L"\\large\\large-%u.bin", i);
        if (!write_file(root + name, (uint64_t)options.mixed_large_mb << 20, HALF, random, buffer)) return false;
    }
    return true;
}

}  // namespace

void remove_folder(const std::wstring& folder) {
    if (GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES) remove_tree(folder.c_str(), 0);
}

bool tree_totals(const std::wstring& folder, TreeTotals* totals) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    bool ok = true;
    do {
        if (wcscmp(found.cFileName, L".") == 0 || wcscmp(found.cFileName, L"..") == 0) continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            ++totals->folders;
            ok = tree_totals(folder + L"\\" + found.cFileName, totals);
        } else {
            ++totals->files;
            totals->bytes += ((uint64_t)found.nFileSizeHigh << 32) | found.nFileSizeLow;
        }
    } while (ok && FindNextFileW(search, &found));
    FindClose(search);
    return ok;
}

DataSet describe_set(const Options& options, const std::wstring& id) {
    DataSet set;
    set.id = id;
    set.folder = options.work + L"\\data\\" + id;
    set.root_name = id;
    set.read_jobs = id != L"mixed";
    wchar_t text[256];
    if (id == L"documents") {
        set.title = L"documents";
        swprintf(text, 256, L"documents files=%u mb=%u", options.documents_files, options.documents_mb);
    } else if (id == L"small") {
        set.title = L"many small";
        swprintf(text, 256, L"small files=%u max=%u", options.small_files, options.small_max_bytes);
    } else if (id == L"big") {
        set.title = L"one big";
        swprintf(text, 256, L"big mib=%u", options.big_mb);
    } else if (id == L"profile") {
        set.title = L"profile tree";
        swprintf(text, 256, L"profile files=%u folders=%u max=%u", options.profile_files, options.profile_folders,
                 options.profile_max_bytes);
    } else {
        set.title = L"mixed tree";
        swprintf(text, 256, L"mixed small=%u max=%u large=%u mib=%u", options.mixed_small_files,
                 options.mixed_small_max_bytes, options.mixed_large_files, options.mixed_large_mb);
    }
    wchar_t seed[40];
    swprintf(seed, 40, L" seed=%llu", (unsigned long long)options.seed);
    set.parameters = std::wstring(text) + seed;
    return set;
}

bool prepare_set(const Options& options, DataSet* set) {
    std::wstring stamp = set->folder + L".txt";
    std::string existing;
    std::string wanted = narrow(set->parameters) + "\n";
    if (!(read_text_file(stamp, &existing) && existing == wanted)) {
        printf("generating %ls (%ls)...\n", set->title.c_str(), set->parameters.c_str());
        fflush(stdout);
        DeleteFileW(stamp.c_str());
        remove_folder(set->folder);
        // Archives made from an older version of the set are stale now.
        const wchar_t* suffixes[] = {L".zip", L".7z", L".tar.gz"};
        for (const wchar_t* suffix : suffixes) DeleteFileW((options.work + L"\\archives\\" + set->id + suffix).c_str());
        uint64_t mix = 0;
        for (wchar_t c : set->id) mix = mix * 131 + (uint64_t)c;
        Random random = {options.seed ^ mix};
        if (!generate(options, *set, random)) return false;
        if (!write_text_file(stamp, wanted, false)) return false;
    }
    set->totals = TreeTotals();
    if (!tree_totals(set->folder + L"\\" + set->root_name, &set->totals)) return false;
    set->totals.folders += 1;  // the packed folder itself is an entry too
    return true;
}
