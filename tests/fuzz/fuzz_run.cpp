// Fuzzes a whole calculation run on the in-memory window: arbitrary list
// texts, or coordinates up to the ends of the Long range, or arbitrary
// Single presses (infinities and NaN included), followed by row clicks,
// deletions and runs. Nothing may crash or trip a sanitizer, and every run
// ends in one of the report's defined forms.

#include "app/trivyrhnik.h"
#include "geometry/number_text.h"
#include "ui/memory/memory_controls.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const std::string kHeading = "Ориентирано лице - координати на върховете:\r\n";
const std::string kCollinear = "Точките лежат на права!";
const std::string kFailure = "Изчислението не може да бъде завършено: ";

void check(bool ok)
{
    if (!ok)
        std::abort();
}

struct Reader {
    const std::uint8_t* data;
    size_t size;
    size_t at = 0;

    template <typename T>
    T take()
    {
        T v{};
        if (at + sizeof(T) <= size) {
            std::memcpy(&v, data + at, sizeof(T));
            at += sizeof(T);
        } else {
            at = size;
        }
        return v;
    }
};

void checkRunReport(ui::memory::MemoryForm& form)
{
    const std::string r = form.Text1(0).text();
    const bool failed = r.find(kFailure) != std::string::npos;
    if (failed) {
        // What was there before the failure, or what the run wrote, then one line.
        check(r.ends_with(".\r\n"));
    } else {
        check(r == kCollinear || r.starts_with(kHeading));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    ui::memory::MemoryForm form;
    app::Trivyrhnik window(form, {(data[0] & 0x80) ? "," : "."});
    window.Form_Load();
    Reader in{data + 1, size - 1};

    switch (data[0] % 3) {
    case 0: {
        // Six list texts, separated by line feeds.
        std::string rest(reinterpret_cast<const char*>(in.data), in.size);
        std::vector<std::string> texts;
        size_t start = 0;
        while (texts.size() < 6) {
            const size_t end = rest.find('\n', start);
            texts.push_back(rest.substr(start, end == std::string::npos ? std::string::npos : end - start));
            if (end == std::string::npos)
                break;
            start = end + 1;
        }
        texts.resize(6);
        for (int j = 0; j < 3; ++j) {
            form.List1(0).addItem(texts[2 * j]);
            form.List1(1).addItem(texts[2 * j + 1]);
            form.List1(2).addItem("0");
        }
        break;
    }
    case 1: {
        // Whole coordinates anywhere in the Long range, pressed.
        for (int j = 0; j < 3; ++j) {
            const auto x = in.take<std::int32_t>();
            const auto y = in.take<std::int32_t>();
            form.Picture1().pressMouse(static_cast<float>(x), static_cast<float>(y), 2);
        }
        break;
    }
    default:
        // Presses with any Single coordinates.
        for (int j = 0; j < 3; ++j) {
            const auto x = in.take<float>();
            const auto y = in.take<float>();
            form.Picture1().pressMouse(x, y, 1);
        }
        break;
    }

    window.Command1_Click(0);
    checkRunReport(form);

    // Then what a pupil can still do: select rows, delete, clear, run again.
    while (in.at < in.size) {
        const auto op = in.take<std::uint8_t>();
        switch (op % 5) {
        case 0: form.List1(op / 5 % 2).userSelect(op / 10 % 3); break;
        case 1: form.Command1(2).userClick(); break;
        case 2: {
            // x before y, as the presses above: two reads in one call's
            // arguments would come in an order of the compiler's choosing.
            const auto x = in.take<float>();
            const auto y = in.take<float>();
            form.Picture1().pressMouse(x, y, 1);
            break;
        }
        case 3: {
            if (form.Command1(0).isEnabled()) {
                form.Command1(0).userClick();
                checkRunReport(form);
            }
            break;
        }
        default: form.Command1(1).userClick(); break;
        }
        const int n = window.state().Obsh_Broj;
        for (int i = 0; i < 3; ++i)
            if (data[0] % 3 != 0) // list texts put in directly bypass the count
                check(form.List1(i).listCount() == n);
    }
    return 0;
}
