#include "ui/model/ResultHeaderItems.h"

#include <algorithm>
#include <string>

#include "core/DebugLog.h"
#include "core/Registry.h"

namespace mirudex::ui {

namespace {

constexpr std::array<std::u16string_view, kHeaderItemCount> kLabels = {u"Word", u"Kana", u"Info",     u"Meaning",
                                                                       u"W",    u"K",    u"Relevance"};

bool Shown(const ResultHeaderItem& item) { return item.bar == 0 || item.bar == 1; }

// Whether the key at an absolute path (the root's name, then the names
// below it) is there, without the getters' end of the program on a missing key.
bool KeyExists(Registry& options, std::string_view path)
{
    const RegistryKey* key = &options.root();
    const size_t root = path.find('\\');
    path = root == std::string_view::npos ? std::string_view() : path.substr(root + 1);
    while (key && !path.empty()) {
        const size_t cut = path.find('\\');
        key = key->FindChild(path.substr(0, cut));
        path = cut == std::string_view::npos ? std::string_view() : path.substr(cut + 1);
    }
    return key != nullptr;
}

}  // namespace

std::u16string_view HeaderItemLabel(int id)
{
    return id >= 0 && id < kHeaderItemCount ? kLabels[static_cast<size_t>(id)] : std::u16string_view();
}

std::string_view HeaderItemsKey(int windowIndex)
{
    return windowIndex == 1 ? opt::study_list::header_items::kKey : opt::results::header_items::kKey;
}

ResultHeaderItems LoadHeaderItems(Registry& options, int windowIndex)
{
    ResultHeaderItems items;
    for (int id = 0; id < kHeaderItemCount; ++id) {
        const std::string_view key = HeaderItemsKey(windowIndex);
        ResultHeaderItem& item = items[static_cast<size_t>(id)];
        if (id == kItemRelevance && !KeyExists(options, std::string(key) + "\\" + std::to_string(id)))
            continue;  // an options file of an earlier version: not shown
        item.bar = options.GetINT(opt::header_item::Header(key, id));
        item.percentage = options.GetINT(opt::header_item::Percentage(key, id));
        item.position = options.GetINT(opt::header_item::Position(key, id));
        if (!Shown(item))
            item.bar = kNoBar;
    }
    return items;
}

void SaveHeaderItems(Registry& options, int windowIndex, const ResultHeaderItems& items)
{
    for (int id = 0; id < kHeaderItemCount; ++id) {
        const std::string_view key = HeaderItemsKey(windowIndex);
        const ResultHeaderItem& item = items[static_cast<size_t>(id)];
        if (id == kItemRelevance && !KeyExists(options, std::string(key) + "\\" + std::to_string(id))) {
            if (item.bar == kNoBar)
                continue;  // left as the earlier version wrote it
            std::string back = options.current().PathText();
            back = back.empty() ? std::string(opt::kRoot)
                                : std::string(opt::kRoot) + '\\' + back.substr(0, back.size() - 1);
            options.CD(key);
            options.MakeKey(std::to_string(id));
            options.CD(back);
        }
        options.SetINT(opt::header_item::Header(key, id), item.bar);
        options.SetINT(opt::header_item::Percentage(key, id), item.percentage);
        options.SetINT(opt::header_item::Position(key, id), item.position);
    }
}

int ItemCount(const ResultHeaderItems& items, int bar)
{
    return static_cast<int>(
        std::count_if(items.begin(), items.end(), [bar](const ResultHeaderItem& i) { return i.bar == bar; }));
}

std::vector<int> DisplayOrder(const ResultHeaderItems& items, int bar)
{
    std::vector<int> order;
    for (int id = 0; id < kHeaderItemCount; ++id)
        if (items[static_cast<size_t>(id)].bar == bar)
            order.push_back(id);
    std::stable_sort(order.begin(), order.end(), [&items](int a, int b) {
        return items[static_cast<size_t>(a)].position < items[static_cast<size_t>(b)].position;
    });
    return order;
}

void NormalizePercentages(ResultHeaderItems& items)
{
    std::array<long long, kBarCount> sum{};
    for (const ResultHeaderItem& item : items)
        if (Shown(item))
            sum[static_cast<size_t>(item.bar)] += item.percentage;

    // A bar whose shares add up to nothing (or less) cannot be scaled; its
    // items then start from the 1 % floor and the excess rule below.
    std::array<double, kBarCount> factor{};
    for (size_t b = 0; b < kBarCount; ++b)
        factor[b] = sum[b] > 0 ? 100.0 / static_cast<double>(sum[b]) : 0.0;

    sum = {};
    for (ResultHeaderItem& item : items) {
        if (!Shown(item))
            continue;
        const double scaled = item.percentage * factor[static_cast<size_t>(item.bar)];
        item.percentage = scaled < 1.0 ? 1 : static_cast<int>(scaled);
        sum[static_cast<size_t>(item.bar)] += item.percentage;
    }

    for (int b = 0; b < kBarCount; ++b) {
        if (sum[static_cast<size_t>(b)] == 100 || ItemCount(items, b) == 0)
            continue;
        const long long excess = sum[static_cast<size_t>(b)] - 100;
        for (ResultHeaderItem& item : items) {
            if (item.bar == b && item.percentage - excess > 0) {
                item.percentage = static_cast<int>(item.percentage - excess);
                break;
            }
        }
    }
}

std::vector<int> ItemWidths(const ResultHeaderItems& items, int bar, int width)
{
    const std::vector<int> order = DisplayOrder(items, bar);
    std::vector<int> widths;
    widths.reserve(order.size());
    int used = 0;
    for (size_t k = 0; k < order.size(); ++k) {
        int w;
        if (k + 1 == order.size())
            w = width - used;
        else
            w = static_cast<int>(static_cast<long long>(width) * items[static_cast<size_t>(order[k])].percentage / 100);
        widths.push_back(w);
        used += w;
    }
    return widths;
}

void MoveHeaderItem(ResultHeaderItems& items, int bar, int oldPlace, int newPlace)
{
    const std::vector<int> order = DisplayOrder(items, bar);
    if (oldPlace < 0 || oldPlace >= static_cast<int>(order.size()) || oldPlace == newPlace)
        return;
    items[static_cast<size_t>(order[static_cast<size_t>(oldPlace)])].position = newPlace;
    if (oldPlace < newPlace) {
        for (int place = oldPlace + 1; place <= newPlace; ++place) {
            if (place >= static_cast<int>(order.size())) {
                dlog::Write(u"ERROR: right is -1!\n");
                break;
            }
            items[static_cast<size_t>(order[static_cast<size_t>(place)])].position -= 1;
        }
    } else {
        for (int place = oldPlace - 1; place >= newPlace; --place) {
            if (place < 0) {
                dlog::Write(u"ERROR: left is -1!\n");
                break;
            }
            items[static_cast<size_t>(order[static_cast<size_t>(place)])].position += 1;
        }
    }
}

ResizeResult ResizeHeaderItem(ResultHeaderItems& items, int id, int newWidth, int barWidth)
{
    ResultHeaderItem& item = items[static_cast<size_t>(id)];
    const double total = barWidth;
    const int newPercent = barWidth > 0 ? static_cast<int>(newWidth / total * 100.0) : item.percentage;
    const int snapped = static_cast<int>(newPercent / 100.0 * total);

    const std::vector<int> order = DisplayOrder(items, item.bar);
    const auto it = std::find(order.begin(), order.end(), id);
    if (it == order.end() || it + 1 == order.end())
        return {ResizeOutcome::NoRightNeighbour, snapped};
    ResultHeaderItem& right = items[static_cast<size_t>(*(it + 1))];

    const int rightPercent = right.percentage + item.percentage - newPercent;
    if (total * newPercent / 100.0 < kMinItemWidth || total * rightPercent / 100.0 < kMinItemWidth)
        return {ResizeOutcome::TooNarrow, snapped};
    right.percentage = rightPercent;
    item.percentage = newPercent;
    return {ResizeOutcome::Applied, snapped};
}

void EqualShares(ResultHeaderItems& items, int bar)
{
    const int n = ItemCount(items, bar);
    if (n == 0)
        return;
    // What the integer division leaves over goes to the item shown last, so
    // the bar adds up to 100 whatever the order of the items on it.
    for (ResultHeaderItem& item : items)
        if (item.bar == bar)
            item.percentage = 100 / n;
    items[static_cast<size_t>(DisplayOrder(items, bar).back())].percentage += 100 - n * (100 / n);
}

}  // namespace mirudex::ui
