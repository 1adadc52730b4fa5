#include "common/LineDiff.h"

#include <algorithm>

namespace veltro {

namespace {

enum class Edit { keep, remove, insert };

using Lines = std::vector<std::string>;

// A shortest edit script from a to b (Myers' O(ND) algorithm): one keep per common line, one
// remove per line of a only, one insert per line of b only, in order.
std::vector<Edit> shortestEdit(const Lines& a, const Lines& b) {
    const int n = static_cast<int>(a.size());
    const int m = static_cast<int>(b.size());
    const int offset = n + m + 1;
    std::vector<int> furthest(static_cast<std::size_t>(2 * offset + 1), 0);
    std::vector<std::vector<int>> trace;
    const auto at = [offset](std::vector<int>& v, int k) -> int& {
        return v[static_cast<std::size_t>(k + offset)];
    };
    bool reached = false;
    for (int d = 0; d <= n + m && !reached; ++d) {
        trace.push_back(furthest);
        for (int k = -d; k <= d; k += 2) {
            int x = (k == -d || (k != d && at(furthest, k - 1) < at(furthest, k + 1)))
                        ? at(furthest, k + 1)
                        : at(furthest, k - 1) + 1;
            int y = x - k;
            while (x < n && y < m &&
                   a[static_cast<std::size_t>(x)] == b[static_cast<std::size_t>(y)]) {
                ++x;
                ++y;
            }
            at(furthest, k) = x;
            if (x >= n && y >= m) {
                reached = true;
                break;
            }
        }
    }

    std::vector<Edit> edits;
    int x = n;
    int y = m;
    for (int d = static_cast<int>(trace.size()) - 1; d >= 0; --d) {
        std::vector<int>& v = trace[static_cast<std::size_t>(d)];
        const int k = x - y;
        const int previousK = (k == -d || (k != d && at(v, k - 1) < at(v, k + 1))) ? k + 1 : k - 1;
        const int previousX = at(v, previousK);
        const int previousY = previousX - previousK;
        while (x > previousX && y > previousY) {
            edits.push_back(Edit::keep);
            --x;
            --y;
        }
        if (d > 0) {
            edits.push_back(x == previousX ? Edit::insert : Edit::remove);
        }
        x = previousX;
        y = previousY;
    }
    std::reverse(edits.begin(), edits.end());
    // Within each change, the removed lines come before the added ones, as diff shows them.
    for (auto run = edits.begin(); run != edits.end();) {
        const auto end = std::find(run, edits.end(), Edit::keep);
        std::stable_partition(run, end, [](Edit e) { return e == Edit::remove; });
        run = std::find_if(end, edits.end(), [](Edit e) { return e != Edit::keep; });
    }
    return edits;
}

// "start,count" of one side of a hunk header; an empty side names the line before it.
std::string range(int firstIndex, int count) {
    const int start = count == 0 ? firstIndex : firstIndex + 1;
    return count == 1 ? std::to_string(start) : std::to_string(start) + "," + std::to_string(count);
}

} // namespace

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string unifiedDiff(const Lines& before, const Lines& after, const std::string& beforeLabel,
                        const std::string& afterLabel, int context) {
    // Common ends need no search.
    std::size_t head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head]) {
        ++head;
    }
    std::size_t tail = 0;
    while (tail < before.size() - head && tail < after.size() - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail]) {
        ++tail;
    }
    if (head == before.size() && head == after.size()) {
        return {};
    }
    const Lines middleBefore(before.begin() + static_cast<std::ptrdiff_t>(head),
                             before.end() - static_cast<std::ptrdiff_t>(tail));
    const Lines middleAfter(after.begin() + static_cast<std::ptrdiff_t>(head),
                            after.end() - static_cast<std::ptrdiff_t>(tail));
    std::vector<Edit> edits(head, Edit::keep);
    const std::vector<Edit> middle = shortestEdit(middleBefore, middleAfter);
    edits.insert(edits.end(), middle.begin(), middle.end());
    edits.insert(edits.end(), tail, Edit::keep);

    // Where each edit stands in the two texts.
    struct Step {
        Edit edit;
        int beforeIndex;
        int afterIndex;
    };
    std::vector<Step> steps;
    int beforeIndex = 0;
    int afterIndex = 0;
    for (const Edit edit : edits) {
        steps.push_back({edit, beforeIndex, afterIndex});
        beforeIndex += edit != Edit::insert ? 1 : 0;
        afterIndex += edit != Edit::remove ? 1 : 0;
    }

    std::string out = "--- " + beforeLabel + "\n+++ " + afterLabel + "\n";
    const int count = static_cast<int>(steps.size());
    const auto isChange = [&steps](int i) {
        return steps[static_cast<std::size_t>(i)].edit != Edit::keep;
    };
    int i = 0;
    while (i < count) {
        while (i < count && !isChange(i)) {
            ++i;
        }
        if (i == count) {
            break;
        }
        const int first = std::max(0, i - context);
        // The hunk goes on while the next change is close enough for the contexts to meet.
        int lastChange = i;
        for (int j = i + 1; j < count && j <= lastChange + 2 * context + 1; ++j) {
            if (isChange(j)) {
                lastChange = j;
            }
        }
        const int end = std::min(count, lastChange + 1 + context);
        int beforeCount = 0;
        int afterCount = 0;
        std::string body;
        for (int j = first; j < end; ++j) {
            const Step& step = steps[static_cast<std::size_t>(j)];
            switch (step.edit) {
            case Edit::keep:
                body += " " + before[static_cast<std::size_t>(step.beforeIndex)] + "\n";
                ++beforeCount;
                ++afterCount;
                break;
            case Edit::remove:
                body += "-" + before[static_cast<std::size_t>(step.beforeIndex)] + "\n";
                ++beforeCount;
                break;
            case Edit::insert:
                body += "+" + after[static_cast<std::size_t>(step.afterIndex)] + "\n";
                ++afterCount;
                break;
            }
        }
        const Step& start = steps[static_cast<std::size_t>(first)];
        out += "@@ -" + range(start.beforeIndex, beforeCount) + " +" +
               range(start.afterIndex, afterCount) + " @@\n" + body;
        i = end;
    }
    return out;
}

} // namespace veltro
