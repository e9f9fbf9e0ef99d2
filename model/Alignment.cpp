// Aligning a multiple selection to its primary control.
#include "model/Alignment.h"

#include "toolkit/widgets/Control.h"

namespace velmora {

const char* alignmentCaption(Alignment a)
{
    switch (a) {
    case Alignment::Lefts: return "Bal szélek igazítása";
    case Alignment::Rights: return "Jobb szélek igazítása";
    case Alignment::Tops: return "Felső szélek igazítása";
    case Alignment::Bottoms: return "Alsó szélek igazítása";
    case Alignment::SameWidth: return "Azonos szélesség";
    case Alignment::SameHeight: break;
    }
    return "Azonos magasság";
}

void align(Alignment a, const tk::TControl& p, const std::vector<tk::TControl*>& others)
{
    for (tk::TControl* c : others) {
        if (c == &p) continue;
        switch (a) {
        case Alignment::Lefts: c->setLeft(p.left()); break;
        case Alignment::Rights: c->setLeft(p.left() + p.width() - c->width()); break;
        case Alignment::Tops: c->setTop(p.top()); break;
        case Alignment::Bottoms: c->setTop(p.top() + p.height() - c->height()); break;
        case Alignment::SameWidth: c->setWidth(p.width()); break;
        case Alignment::SameHeight: c->setHeight(p.height()); break;
        }
    }
}

}  // namespace velmora
