#include "app/layout.h"

#include <string_view>

namespace app {

// The fixed texts as the build compiled them in from resources/.
namespace texts {
std::string_view uchebno();
std::string_view drugi_smetki();
} // namespace texts

namespace {

// The caption of the window.
constexpr const char* kCaption = "https://trivyrhnik.example.org  Аналитична геометрия - координати";

constexpr ui::Rgb kLabelColour = ui::rgb(255, 192, 128);

ui::ControlDesign control(ui::ControlKind kind, const char* name, int index, int left, int top, int width, int height,
                          int tabIndex, const char* accessibleName, std::string text = {},
                          std::optional<ui::Rgb> back = std::nullopt, bool visible = true)
{
    return ui::ControlDesign{.kind = kind,
                             .name = name,
                             .index = index,
                             .left = left,
                             .top = top,
                             .width = width,
                             .height = height,
                             .visible = visible,
                             .text = std::move(text),
                             .backColor = back,
                             .tabIndex = tabIndex,
                             .accessibleName = accessibleName,
                             .accessibleDescription = {}};
}

} // namespace

std::string teachingText() { return std::string(texts::uchebno()); }
std::string otherText() { return std::string(texts::drugi_smetki()); }

ui::FormDesign trivyrhnikDesign() { return trivyrhnikDesign(teachingText(), otherText()); }

ui::FormDesign trivyrhnikDesign(std::string teaching, std::string other)
{
    using K = ui::ControlKind;
    ui::FormDesign d;
    d.caption = kCaption;
    d.clientWidth = 6915;
    d.clientHeight = 6270;
    d.backColor = ui::rgb(128, 128, 255);
    d.font = {"Times New Roman", 12};
    d.controls = {
        control(K::Label, "Label1", 0, 960, 0, 4575, 375, 2, "Заглавие", "Описана окръжност - координати на точки",
                kLabelColour),
        control(K::Label, "Label1", 3, 960, 480, 3975, 375, 12, "Указание", "Посочете трите върха на триъгълника",
                kLabelColour),
        control(K::Label, "Label1", 1, 5400, 480, 735, 375, 8, "Надпис на ос X", "Ос X", kLabelColour),
        control(K::Label, "Label1", 2, 6240, 480, 615, 375, 9, "Надпис на ос Y", "Ос Y", kLabelColour),
        control(K::Picture, "Picture1", 0, 240, 840, 5085, 3495, 11, "Чертожна площ"),
        control(K::List, "List1", 0, 5400, 840, 735, 1200, 3, "Координати X на точките"),
        control(K::List, "List1", 1, 6240, 840, 615, 1200, 4, "Координати Y на точките"),
        control(K::List, "List1", 2, 0, 2280, 1095, 1200, 10, "Височини на точките", {}, std::nullopt, false),
        control(K::Button, "Command1", 0, 5640, 2280, 1095, 375, 5, "Изчисли", "Изчисли", ui::rgb(128, 255, 128)),
        control(K::Button, "Command1", 1, 5640, 2880, 1095, 375, 6, "Изчисти", "Изчисти", ui::rgb(255, 0, 0)),
        control(K::Button, "Command1", 2, 5640, 3480, 1095, 375, 7, "Изтрий", "Изтрий", ui::rgb(192, 0, 192)),
        control(K::Text, "Text1", 0, 120, 4440, 6735, 1695, 0, "Решение", std::move(teaching)),
        control(K::Text, "Text1", 1, 2040, 5160, 6735, 405, 1, "Други сметки", std::move(other), std::nullopt, false),
    };
    for (auto& c : d.controls) {
        if (c.kind == K::Picture)
            c.accessibleDescription = "Щракнете с мишката, за да посочите връх на триъгълника. "
                                      "Тук се чертаят точките, средите на страните, контурът и окръжностите.";
        if (c.kind == K::Text && c.index == 0)
            c.accessibleDescription = "Учебен текст, а след изчисление - решението стъпка по стъпка.";
        // A label is heard by its caption; what it is for is its description.
        if (c.kind == K::Label) {
            c.accessibleDescription = c.accessibleName;
            c.accessibleName = c.text;
        }
    }
    return d;
}

} // namespace app
