#include "app/trivyrhnik.h"

#include "app/layout.h"

namespace app {

using geometry::Integer;
using geometry::Long;

namespace {
constexpr ui::Rgb kBlack = ui::rgb(0, 0, 0);
constexpr ui::Rgb kRed = ui::rgb(255, 0, 0);
constexpr ui::Rgb kWhite = ui::rgb(255, 255, 255);
} // namespace

std::string failureLine(const geometry::CalcFailure& failure)
{
    return "Изчислението не може да бъде завършено: " + failure.reason() + ".";
}

Trivyrhnik::Trivyrhnik(ui::Form& form, geometry::NumberFormat format)
    : form_(form)
    , fmt_(std::move(format))
    , calc_(st_, form.Text1(ctl::Report), form.Picture1(), form.List1(ctl::ListX), form.List1(ctl::ListY), fmt_)
{
    form_.Picture1().onMouseDown(
        [this](Integer button, Integer shift, float x, float y) { Picture1_MouseDown(button, shift, x, y); });
    for (Integer i = 0; i < 3; ++i) {
        form_.List1(i).onClick([this, i] { List1_Click(i); });
        form_.Command1(i).onClick([this, i] { Command1_Click(i); });
    }
}

void Trivyrhnik::Form_Load()
{
    auto& pic = form_.Picture1();
    pic.setScaleMode(3);
    st_.Kolko_Y = pic.scaleHeight();
    pic.setAutoRedraw(true);
    Nachalo();
}

void Trivyrhnik::Nachalo()
{
    auto& pic = form_.Picture1();
    st_.Obsh_Broj = 0;
    pic.setBackColor(kWhite);
    pic.cls();
    pic.setDrawStyle(ui::DashDotDot);
    pic.setDrawWidth(5);
    for (int i = 0; i < 3; ++i)
        form_.List1(i).clear();
    form_.Command1(ctl::Calculate).setEnabled(false);
}

void Trivyrhnik::Picture1_MouseDown(Integer /*Button*/, Integer /*Shift*/, float X, float Y)
{
    if (st_.Obsh_Broj >= geometry::Dopustim_Broj)
        return;
    auto& pic = form_.Picture1();
    pic.setDrawWidth(5);
    pic.pset(X, Y);
    form_.List1(ctl::ListX).addItem(geometry::singleText(X, fmt_));
    form_.List1(ctl::ListY).addItem(geometry::singleText(Y, fmt_));
    const float up = st_.Kolko_Y - Y;
    form_.List1(ctl::ListUp).addItem(geometry::singleText(up, fmt_));
    st_.Obsh_Broj = static_cast<Integer>(st_.Obsh_Broj + 1);
    if (st_.Obsh_Broj == geometry::Dopustim_Broj)
        form_.Command1(ctl::Calculate).setEnabled(true);
}

template <typename YKind>
void Trivyrhnik::redrawPointsBlack()
{
    auto& pic = form_.Picture1();
    const int m = form_.List1(ctl::ListX).listCount();
    for (int r = 0; r < m; ++r) {
        const double x = geometry::Val(form_.List1(ctl::ListX).list(r));
        YKind y{};
        if (geometry::tryStore(geometry::Val(form_.List1(ctl::ListY).list(r)), y))
            pic.pset(static_cast<float>(x), static_cast<float>(y), kBlack);
    }
}

void Trivyrhnik::List1_Click(Integer Index)
{
    if (Index < 0 || Index > 2)
        return;
    int j = form_.List1(Index).listIndex();
    if (j < 0)
        return;
    auto& pic = form_.Picture1();
    pic.setDrawWidth(5);
    redrawPointsBlack<Integer>();

    j = form_.List1(Index).listIndex();
    // A nested click raised by these changes runs to its end at once and
    // leaves the same state.
    form_.List1(ctl::ListX).setListIndex(j);
    form_.List1(ctl::ListY).setListIndex(j);
    form_.List1(ctl::ListUp).setListIndex(j);

    const double x = geometry::Val(form_.List1(ctl::ListX).list(j));
    Integer y{};
    pic.setDrawWidth(5);
    if (geometry::tryStore(geometry::Val(form_.List1(ctl::ListY).list(j)), y))
        pic.pset(static_cast<float>(x), static_cast<float>(y), kRed);
}

void Trivyrhnik::Iztriwa_Tochka()
{
    const int j = form_.List1(ctl::ListX).listIndex();
    const int k = form_.List1(ctl::ListY).listIndex();
    if (j != k || j < 0)
        return;

    // The coordinates are read before anything changes, so the store and
    // the count stay in step whatever the rows hold.
    const double ax = geometry::Val(form_.List1(ctl::ListX).list(j));
    Long ay{};
    const bool paintable = geometry::tryStore(geometry::Val(form_.List1(ctl::ListY).list(k)), ay);

    st_.Obsh_Broj = static_cast<Integer>(st_.Obsh_Broj - 1);
    form_.List1(ctl::ListX).removeItem(j);
    form_.List1(ctl::ListY).removeItem(k);
    form_.List1(ctl::ListUp).removeItem(k);

    auto& pic = form_.Picture1();
    if (paintable)
        pic.pset(static_cast<float>(ax), static_cast<float>(ay), kWhite);
    redrawPointsBlack<Long>();
    form_.Command1(ctl::Calculate).setEnabled(false);
}

void Trivyrhnik::Smetki()
{
    auto& pic = form_.Picture1();
    try {
        calc_.Orientirano_Lice();
        for (Integer side = 0; side < 3; ++side) {
            Integer koe = side;
            calc_.Koefic_Strana(koe);
        }
        calc_.Risuwa_Kontur();
        calc_.Perimetyr_Radiusi();
        calc_.Wid_Triygylnik();
        if (st_.S_lice > 0) {
            calc_.Simetrali();
            Integer koe = 3;
            calc_.Presechna_Tochka(koe);
        }
    } catch (const geometry::CalcFailure& failure) {
        // The report keeps what the run wrote so far and says why it stopped.
        // Steps fail between whole lines, but a line begun elsewhere is ended.
        const std::string text = form_.Text1(ctl::Report).text();
        if (!text.empty() && !text.ends_with("\r\n"))
            calc_.dobaviRed("");
        calc_.dobaviRed(failureLine(failure));
        pic.setDrawStyle(ui::Solid);
        return;
    }
    pic.setDrawStyle(ui::Solid);
    if (st_.S_lice == 0)
        form_.Text1(ctl::Report).setText("Точките лежат на права!");
}

void Trivyrhnik::Command1_Click(Integer Index)
{
    switch (Index) {
    case ctl::Calculate:
        Smetki();
        form_.Command1(ctl::Calculate).setEnabled(false);
        form_.Command1(ctl::Delete).setEnabled(false);
        break;
    case ctl::Clear:
        Nachalo();
        form_.Text1(ctl::Report).setText("");
        form_.Command1(ctl::Delete).setEnabled(true);
        break;
    case ctl::Delete: Iztriwa_Tochka(); break;
    default: break;
    }
}

} // namespace app
