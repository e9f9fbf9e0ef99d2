// Drawing windows, controls and popups.
#include "gui/Painter.h"

#include "gui/QtPlatform.h"
#include "toolkit/data/DBGrid.h"
#include "toolkit/text/Locale.h"
#include "toolkit/text/Text.h"
#include "toolkit/widgets/Bitmap.h"
#include "toolkit/widgets/Buttons.h"
#include "toolkit/widgets/CheckBox.h"
#include "toolkit/widgets/ComboBox.h"
#include "toolkit/widgets/DateTimePicker.h"
#include "toolkit/widgets/Edit.h"
#include "toolkit/widgets/Labels.h"
#include "toolkit/widgets/PageControl.h"
#include "toolkit/widgets/Panels.h"
#include "toolkit/widgets/RadioGroup.h"
#include "toolkit/widgets/SpinEdit.h"
#include "toolkit/widgets/StatusBar.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/Form.h"
#include "toolkit/windows/HintWindow.h"
#include "toolkit/windows/Menus.h"
#include "toolkit/windows/Overlay.h"

#include <QApplication>
#include <QFrame>
#include <QImage>
#include <QPalette>
#include <QPixmap>
#include <QPixmapCache>

#include <QStyle>
#include <QStyleOption>
#include <functional>
#include <qdrawutil.h>
#include <unordered_map>

namespace gui {

namespace {

QString q(const std::string& s)
{
    return QString::fromStdString(s);
}

QStyle* style()
{
    return QApplication::style();
}

// A system colour of the toolkit as the desktop's palette has it.
QColor systemColor(tk::TColor color)
{
    QPalette pal = QApplication::palette();
    switch (color) {
    case tk::clWindow: return pal.color(QPalette::Base);
    case tk::clWindowText: return pal.color(QPalette::Text);
    case tk::clHighlight: return pal.color(QPalette::Highlight);
    case tk::clHighlightText: return pal.color(QPalette::HighlightedText);
    case tk::clBtnFace: return pal.color(QPalette::Button);
    case tk::clBtnShadow: return pal.color(QPalette::Dark);
    case tk::clGrayText: return pal.color(QPalette::Disabled, QPalette::Text);
    case tk::clBtnText: return pal.color(QPalette::ButtonText);
    case tk::clBtnHighlight: return pal.color(QPalette::Light);
    case tk::clInfoText: return pal.color(QPalette::ToolTipText);
    case tk::clInfoBk: return pal.color(QPalette::ToolTipBase);
    // Title bars of the date picker's calendar: the desktop has none to lend.
    case tk::clActiveCaption: return QColor(0, 84, 227);
    case tk::clInactiveCaptionText: return QColor(216, 228, 248);
    default: return pal.color(QPalette::Window);
    }
}

QImage glyphImage(const tk::TBitmap& bmp, int numGlyphs, bool enabled)
{
    std::vector<uint32_t> px = bmp.pixels();
    if (px.empty()) return {};
    int w = bmp.width(), h = bmp.height();
    int n = std::max(1, numGlyphs);
    int gw = w / n;
    int part = (!enabled && n >= 2) ? 1 : 0;
    // The lower left pixel's colour is transparent.
    uint32_t transparent = px[static_cast<size_t>(h - 1) * w];
    QImage img(gw, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < gw; ++x) {
            uint32_t c = px[static_cast<size_t>(y) * w + part * gw + x];
            if (c == transparent) c = 0;
            else if (!enabled && n < 2) c = 0xFF808080u;
            img.setPixel(x, y, c);
        }
    return img;
}

void text(QPainter& p, const QRect& r, const std::string& s, const tk::TFont& font, int flags, QColor color)
{
    p.setFont(qtFont(font));
    p.setPen(color);
    p.drawText(r, flags, q(s));
}

QColor fontColor(const tk::TControl& c)
{
    return c.isEnabledTree() ? qtColor(c.drawingFont().color())
                             : QApplication::palette().color(QPalette::Disabled, QPalette::Text);
}

void initOption(QStyleOption& o, const tk::TControl& c, QRect r)
{
    o.rect = r;
    o.palette = QApplication::palette();
    o.state = QStyle::State_None;
    // A disabled control takes the palette's disabled colours: the style
    // draws a check mark or a label in the current group's.
    if (c.isEnabledTree()) o.state |= QStyle::State_Enabled;
    else o.palette.setCurrentColorGroup(QPalette::Disabled);
    // The focus is always shown: without State_KeyboardFocusChange the
    // style draws no focus frame at all.
    if (auto* w = tk::as<tk::TWinControl>(&c); w && w->focused())
        o.state |= QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange;
    o.fontMetrics = qtMetrics(c.drawingFont());
}

// Draws a style element through a pixmap kept per kind, size and state:
// many controls of one size are drawn once and copied.
void cached(QPainter& p, QRect r, const char* kind, QStyle::State state,
            const std::function<void(QPainter&, QRect)>& draw)
{
    // At the screen's own pixel density, so that a scaled screen draws
    // the element sharp instead of enlarging a picture of it.
    qreal ratio = p.device() ? p.device()->devicePixelRatioF() : 1.0;
    QString key =
        QStringLiteral("velmora-%1-%2x%3-%4@%5").arg(kind).arg(r.width()).arg(r.height()).arg(int(state)).arg(ratio);
    QPixmap pm;
    if (!QPixmapCache::find(key, &pm)) {
        pm = QPixmap(r.size() * ratio);
        pm.setDevicePixelRatio(ratio);
        pm.fill(Qt::transparent);
        QPainter cp(&pm);
        draw(cp, QRect(QPoint(0, 0), r.size()));
        cp.end();
        QPixmapCache::insert(key, pm);
    }
    p.drawPixmap(r.topLeft(), pm);
}

void paintEdit(QPainter& p, const tk::TCustomEdit& e, QRect r)
{
    QStyleOptionFrame o;
    initOption(o, e, r);
    o.lineWidth = e.borderStyle() == tk::TBorderStyle::bsSingle ? 2 : 0;
    o.state |= QStyle::State_Sunken;
    p.fillRect(r, qtColor(e.color()));
    if (o.lineWidth)
        cached(p, r, "edit", o.state, [&](QPainter& cp, QRect local) {
            QStyleOptionFrame lo = o;
            lo.rect = local;
            style()->drawPrimitive(QStyle::PE_FrameLineEdit, &lo, &cp);
        });
    const QFont& f = qtFont(e.drawingFont());
    const QFontMetrics& fm = qtMetrics(e.drawingFont());
    int y = r.top() + (r.height() - fm.height()) / 2;
    int base = r.left();
    bool focused = e.focused();
    // Selection behind the text.
    if (e.selLength() > 0 && (focused || !e.hideSelection())) {
        int x0 = base + e.xOfPosition(e.selStart()), x1 = base + e.xOfPosition(e.selStart() + e.selLength());
        p.fillRect(QRect(x0, y, x1 - x0, fm.height()), QApplication::palette().color(QPalette::Highlight));
    }
    p.setFont(f);
    p.setPen(fontColor(e));
    p.save();
    p.setClipRect(r.adjusted(2, 1, -2, -1), Qt::IntersectClip);
    p.drawText(QPoint(base + tk::TCustomEdit::textInset, y + fm.ascent()), q(e.displayText()));
    if (focused) p.fillRect(QRect(base + e.xOfPosition(e.caretPos()), y, 1, fm.height()), fontColor(e));
    p.restore();
}

void paintButtonFace(QPainter& p, const tk::TControl& c, QRect r, bool pressed, bool isDefault, bool flat)
{
    QStyleOptionButton o;
    initOption(o, c, r);
    if (pressed) o.state |= QStyle::State_Sunken;
    else o.state |= QStyle::State_Raised;
    if (isDefault) o.features |= QStyleOptionButton::DefaultButton;
    if (flat) o.features |= QStyleOptionButton::Flat;
    if (!flat || pressed)
        cached(p, r, isDefault ? "default-button" : "button", o.state, [&](QPainter& cp, QRect local) {
            QStyleOptionButton lo = o;
            lo.rect = local;
            style()->drawControl(QStyle::CE_PushButtonBevel, &lo, &cp);
        });
}

void paintGlyphAndCaption(QPainter& p, const tk::TControl& c, QRect r, const QImage& glyph, const std::string& caption,
                          bool pressed)
{
    const QFont& f = qtFont(c.drawingFont());
    const QFontMetrics& fm = qtMetrics(c.drawingFont());
    QString t = q(tk::stripAccelerator(caption));
    int tw = fm.horizontalAdvance(t);
    // A glyph's size on the window, whatever its pixel density (the
    // style's own pictures come at the screen's).
    QSize gs = glyph.isNull() ? QSize() : glyph.deviceIndependentSize().toSize();
    int gw = gs.width();
    int gap = glyph.isNull() || t.isEmpty() ? 0 : 4;
    int x = r.left() + (r.width() - gw - gap - tw) / 2 + (pressed ? 1 : 0);
    int cy = r.top() + r.height() / 2 + (pressed ? 1 : 0);
    if (!glyph.isNull()) p.drawImage(QPoint(x, cy - gs.height() / 2), glyph);
    p.setFont(f);
    p.setPen(fontColor(c));
    p.drawText(QRect(x + gw + gap, r.top(), tw + 2, r.height()).translated(0, pressed ? 1 : 0), Qt::AlignVCenter, t);
}

QImage kindGlyph(tk::TBitBtnKind kind)
{
    QStyle::StandardPixmap sp;
    switch (kind) {
    case tk::TBitBtnKind::bkOK:
    case tk::TBitBtnKind::bkYes: sp = QStyle::SP_DialogOkButton; break;
    case tk::TBitBtnKind::bkCancel:
    case tk::TBitBtnKind::bkNo:
    case tk::TBitBtnKind::bkAbort: sp = QStyle::SP_DialogCancelButton; break;
    case tk::TBitBtnKind::bkHelp: sp = QStyle::SP_DialogHelpButton; break;
    case tk::TBitBtnKind::bkClose: sp = QStyle::SP_DialogCloseButton; break;
    default: return {};
    }
    return style()->standardIcon(sp).pixmap(16, 16).toImage();
}

void paintControl(QPainter& p, tk::TControl& c, QPoint origin);

void paintChildren(QPainter& p, tk::TWinControl& w, QPoint origin)
{
    // Controls without a window first, windowed ones above them.
    QRect area(origin, QSize(w.width(), w.height()));
    for (tk::TControl* child : w.childrenInWritingOrder()) {
        QRect r(origin + QPoint(child->left(), child->top()), QSize(child->width(), child->height()));
        if (child->visible() && r.intersects(area)) paintControl(p, *child, r.topLeft());
    }
}

void paintPageControl(QPainter& p, tk::TPageControl& pc, QRect r)
{
    auto tabs = pc.tabs();
    tk::TRect d = pc.displayRect();
    QRect display(r.left() + d.left - 2, r.top() + d.top - 2, d.right - d.left + 4, d.bottom - d.top + 4);
    if (pc.style() == tk::TTabStyle::tsTabs) {
        QStyleOptionTabWidgetFrame frame;
        initOption(frame, pc, display);
        style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &p);
    }
    for (const auto& t : tabs) {
        QRect tr(r.left() + t.rect.left, r.top() + t.rect.top, t.rect.right - t.rect.left, t.rect.bottom - t.rect.top);
        bool selected = t.page == pc.activePage();
        if (pc.style() == tk::TTabStyle::tsTabs) {
            QStyleOptionTab o;
            initOption(o, pc, tr);
            o.shape = QTabBar::RoundedNorth;
            o.text = q(tk::stripAccelerator(t.page->caption()));
            if (selected) o.state |= QStyle::State_Selected;
            style()->drawControl(QStyle::CE_TabBarTab, &o, &p);
        } else if (pc.style() == tk::TTabStyle::tsFlatButtons) {
            // Flat buttons: the chosen page's tab is pressed in, the others
            // lie flat, and an etched line stands between neighbours.
            QPalette pal = QApplication::palette();
            if (selected) {
                p.fillRect(tr.adjusted(1, 1, -1, -1), pal.color(QPalette::Midlight));
                qDrawShadePanel(&p, tr, pal, true, 1);
            }
            if (&t != &tabs.back())
                qDrawShadeLine(&p, tr.right() + 2, tr.top() + 2, tr.right() + 2, tr.bottom() - 2, pal, true, 1, 0);
            text(p, tr.translated(selected ? 1 : 0, selected ? 1 : 0), tk::stripAccelerator(t.page->caption()),
                 pc.drawingFont(), Qt::AlignCenter, fontColor(pc));
        } else {
            paintButtonFace(p, pc, tr, selected, false, false);
            text(p, tr, tk::stripAccelerator(t.page->caption()), pc.drawingFont(), Qt::AlignCenter, fontColor(pc));
        }
        // The tabs themselves have the focus when the shown page has no
        // control that takes it: the chosen tab says so.
        if (selected && pc.focused()) {
            QStyleOptionFocusRect f;
            initOption(f, pc, tr.adjusted(3, 3, -3, -3));
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &f, &p);
        }
    }
}

// A small triangle at the right of a column's title, pointing up for an
// ascending order. The style's own header arrow is not used: Fusion draws
// none for a header painted outside a QHeaderView, and drops the title.
void paintSortArrow(QPainter& p, QRect title, bool ascending, QColor color)
{
    int cx = title.right() - 7, cy = title.center().y(), half = 3;
    QPolygon arrow = ascending ? QPolygon({QPoint(cx - half, cy + 2), QPoint(cx + half, cy + 2), QPoint(cx, cy - 2)})
                               : QPolygon({QPoint(cx - half, cy - 2), QPoint(cx + half, cy - 2), QPoint(cx, cy + 2)});
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(arrow);
    p.restore();
}

void paintGrid(QPainter& p, tk::TDBGrid& g, QRect r)
{
    p.fillRect(r, qtColor(g.color()));
    QStyleOptionFrame frame;
    initOption(frame, g, r);
    frame.lineWidth = 2;
    frame.state |= QStyle::State_Sunken;
    style()->drawPrimitive(QStyle::PE_Frame, &frame, &p);
    tk::TDataSet* set = g.dataSet();
    auto cols = g.columns();
    int x0 = r.left() + 2 + g.indicatorWidth();
    int y = r.top() + 2;
    const QRect inside = r.adjusted(2, 2, -2, -2);
    p.save();
    p.setClipRect(inside, Qt::IntersectClip);
    if (g.titleHeight() > 0) {
        for (const auto& c : cols) {
            if (!c.shown) continue;
            int x = r.left() + 2 + c.left;
            QStyleOptionHeader h;
            // The style clips a header to its own rectangle, in place of
            // ours: a title is given no more than the inside of the frame.
            initOption(h, g, QRect(x, y, c.width, g.titleHeight()).intersected(inside));
            if (h.rect.isEmpty()) continue;
            // The style draws the title in the painter's font, within its margins.
            p.setFont(qtFont(*g.titleFont()));
            h.fontMetrics = p.fontMetrics();
            int room = h.rect.width() - 2 * tk::TDBGrid::titlePadding;
            h.text = g.titleWidth(c.title) <= room ? q(c.title)
                                                   : p.fontMetrics().elidedText(q(c.title), Qt::ElideRight, room);
            style()->drawControl(QStyle::CE_Header, &h, &p);
            if (c.sort != tk::TDBGrid::SortMark::None)
                paintSortArrow(p, QRect(x, y, c.width, g.titleHeight()), c.sort == tk::TDBGrid::SortMark::Ascending,
                               h.palette.windowText().color());
        }
        y += g.titleHeight();
    }
    // A result read in pages reads a row when it is first shown, and that
    // read can fail (a server gone): the grid then shows why, in place of
    // the rows, rather than letting the error escape the painting.
    if (set) {
        try {
            int rows = std::min(g.visibleRows(), set->recordCount() - g.topRow());
            for (int i = 0; i < rows; ++i) {
                int row = g.topRow() + i;
                QRect line(r.left() + 2, y, r.width() - 4, g.rowHeight());
                bool current = row == set->recNo();
                if (current)
                    p.fillRect(QRect(x0, y, r.right() - x0, g.rowHeight()),
                               QApplication::palette().color(QPalette::Highlight));
                for (const auto& c : cols) {
                    if (!c.shown) continue;
                    QColor color = current ? QApplication::palette().color(QPalette::HighlightedText) : fontColor(g);
                    text(p,
                         QRect(r.left() + 2 + c.left + tk::TDBGrid::cellPadding, y,
                               c.width - 2 * tk::TDBGrid::cellPadding, g.rowHeight()),
                         g.shownText(row, c), g.drawingFont(), Qt::AlignVCenter | Qt::AlignLeft, color);
                }
                if (g.indicatorWidth() && current)
                    text(p, QRect(r.left() + 2, y, g.indicatorWidth(), g.rowHeight()), "▸", g.drawingFont(),
                         Qt::AlignCenter, fontColor(g));
                p.setPen(QApplication::palette().color(QPalette::Midlight));
                p.drawLine(line.bottomLeft(), line.bottomRight());
                y += g.rowHeight();
            }
        } catch (const std::exception& e) {
            text(p, QRect(x0 + 2, y, r.right() - x0 - 4, g.rowHeight()), e.what(), g.drawingFont(),
                 Qt::AlignVCenter | Qt::AlignLeft, Qt::red);
        }
    }
    if (g.scrollsSideways()) {
        tk::TRect bar = g.sideBarRect();
        QStyleOptionSlider o;
        initOption(o, g, QRect(r.left() + bar.left, r.top() + bar.top, bar.width(), bar.height()));
        o.orientation = Qt::Horizontal;
        o.state |= QStyle::State_Horizontal;
        o.minimum = 0;
        o.maximum = g.lastLeftColumn();
        o.sliderPosition = o.sliderValue = std::min(g.leftColumn(), o.maximum);
        o.pageStep = o.singleStep = 1;
        o.subControls = QStyle::SC_All;
        style()->drawComplexControl(QStyle::CC_ScrollBar, &o, &p);
    }
    p.restore();
}

void paintPages(QPainter& p, tk::TControl& c, QRect r, QPoint origin)
{
    auto* pc = static_cast<tk::TPageControl*>(&c);
    paintPageControl(p, *pc, r);
    paintChildren(p, *pc, origin);
    return;
}

void paintDBGrid(QPainter& p, tk::TControl& c, QRect r, QPoint)
{
    auto* g = static_cast<tk::TDBGrid*>(&c);
    paintGrid(p, *g, r);
    return;
}

void paintStatusBar(QPainter& p, tk::TControl& c, QRect r, QPoint origin)
{
    auto* sb = static_cast<tk::TStatusBar*>(&c);
    p.fillRect(r, qtColor(sb->color()));
    if (sb->simplePanel()) {
        text(p, r.adjusted(4, 0, 0, 0), sb->simpleText(), sb->drawingFont(), Qt::AlignVCenter, fontColor(*sb));
    } else {
        auto rects = sb->panelRects();
        for (size_t i = 0; i < rects.size(); ++i) {
            QRect pr(origin.x() + rects[i].left, origin.y() + rects[i].top, rects[i].width(), rects[i].height() - 1);
            qDrawShadePanel(&p, pr, QApplication::palette(), true, 1);
            text(p, pr.adjusted(3, 0, -3, 0), sb->panel(static_cast<int>(i))->text(), sb->drawingFont(),
                 Qt::AlignVCenter, fontColor(*sb));
        }
    }
    return;
}

void paintButton(QPainter& p, tk::TControl& c, QRect r, QPoint)
{
    auto* b = static_cast<tk::TButton*>(&c);
    paintButtonFace(p, *b, r, b->isPressed(), b->isDefault(), false);
    QImage glyph;
    if (auto* bb = tk::as<tk::TBitBtn>(b)) {
        glyph = bb->kind() != tk::TBitBtnKind::bkCustom && bb->glyph()->empty()
                    ? kindGlyph(bb->kind())
                    : glyphImage(*bb->glyph(), bb->numGlyphs(), bb->isEnabledTree());
    }
    paintGlyphAndCaption(p, *b, r, glyph, b->caption(), b->isPressed());
    if (b->focused()) {
        QStyleOptionFocusRect f;
        initOption(f, *b, r.adjusted(4, 4, -4, -4));
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &f, &p);
    }
    return;
}

void paintSpeedButton(QPainter& p, tk::TControl& c, QRect r, QPoint)
{
    auto* sp = static_cast<tk::TSpeedButton*>(&c);
    bool down = sp->down() || sp->isPressed();
    if (down || !sp->flat()) qDrawShadePanel(&p, r, QApplication::palette(), down, 1);
    paintGlyphAndCaption(p, *sp, r, glyphImage(*sp->glyph(), sp->numGlyphs(), sp->isEnabledTree()), sp->caption(),
                         down);
    return;
}

void paintCheckBox(QPainter& p, tk::TControl& c, QRect r, QPoint)
{
    auto* chx = static_cast<tk::TCheckBox*>(&c);
    QStyleOptionButton o;
    initOption(o, *chx, r);
    o.text = q(tk::stripAccelerator(chx->caption()));
    o.state |= chx->state() == tk::TCheckBoxState::cbChecked  ? QStyle::State_On
               : chx->state() == tk::TCheckBoxState::cbGrayed ? QStyle::State_NoChange
                                                              : QStyle::State_Off;
    if (chx->isPressed()) o.state |= QStyle::State_Sunken;
    p.setFont(qtFont(chx->drawingFont()));
    style()->drawControl(QStyle::CE_CheckBox, &o, &p);
    return;
}

void paintRadioGroup(QPainter& p, tk::TControl& c, QRect r, QPoint origin)
{
    auto* rg = static_cast<tk::TRadioGroup*>(&c);
    // The frame from the style, half a line below the top; the caption
    // on it, over a gap in the line, drawn here where the model puts it.
    const QFontMetrics& fm = qtMetrics(rg->drawingFont());
    QString caption = q(tk::stripAccelerator(rg->caption()));
    QStyleOptionFrame o;
    initOption(o, *rg, r.adjusted(0, fm.height() / 2, 0, 0));
    o.lineWidth = 1;
    o.frameShape = QFrame::StyledPanel;
    style()->drawPrimitive(QStyle::PE_FrameGroupBox, &o, &p);
    if (!caption.isEmpty()) {
        QRect tr(r.left() + 8, r.top(), fm.horizontalAdvance(caption) + 4, fm.height());
        p.fillRect(tr, qtColor(rg->color()));
        text(p, tr, tk::stripAccelerator(rg->caption()), rg->drawingFont(), Qt::AlignCenter, fontColor(*rg));
    }
    for (int i = 0; i < static_cast<int>(rg->items().size()); ++i) {
        tk::TRect ir = rg->itemRect(i);
        QStyleOptionButton b;
        initOption(b, *rg, QRect(origin.x() + ir.left, origin.y() + ir.top, ir.width(), ir.height()));
        if (!rg->itemEnabled(i) || !rg->isEnabledTree()) {
            b.state &= ~QStyle::State_Enabled;
            b.palette.setCurrentColorGroup(QPalette::Disabled);
        }
        b.text = q(rg->items()[i]);
        b.state |= i == rg->itemIndex() ? QStyle::State_On : QStyle::State_Off;
        style()->drawControl(QStyle::CE_RadioButton, &b, &p);
    }
    return;
}

void paintComboBox(QPainter& p, tk::TControl& c, QRect r, QPoint)
{
    auto* cb = static_cast<tk::TComboBox*>(&c);
    QStyleOptionComboBox o;
    initOption(o, *cb, r);
    o.editable = !cb->isList();
    o.subControls = QStyle::SC_All;
    style()->drawComplexControl(QStyle::CC_ComboBox, &o, &p);
    QRect field = style()->subControlRect(QStyle::CC_ComboBox, &o, QStyle::SC_ComboBoxEditField, nullptr);
    text(p, field.adjusted(2, 0, 0, 0), cb->text(), cb->drawingFont(), Qt::AlignVCenter, fontColor(*cb));
    return;
}

void paintSpinEdit(QPainter& p, tk::TControl& c, QRect r, QPoint)
{
    auto* se = static_cast<tk::TSpinEdit*>(&c);
    paintEdit(p, *se, r);
    QStyleOptionSpinBox o;
    initOption(
        o, *se,
        QRect(r.right() - tk::TSpinEdit::buttonWidth, r.top() + 2, tk::TSpinEdit::buttonWidth - 2, r.height() - 4));
    o.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown;
    o.stepEnabled = QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled;
    style()->drawComplexControl(QStyle::CC_SpinBox, &o, &p);
    return;
}

void paintDateTimePicker(QPainter& p, tk::TControl& c, QRect r, QPoint)
{
    auto* dp = static_cast<tk::TDateTimePicker*>(&c);
    QStyleOptionComboBox o;
    initOption(o, *dp, r);
    o.editable = true;
    o.subControls = QStyle::SC_All;
    style()->drawComplexControl(QStyle::CC_ComboBox, &o, &p);
    int x = r.left() + tk::TDateTimePicker::textLeft;
    if (dp->showCheckbox()) {
        QStyleOptionButton b;
        initOption(b, *dp, QRect(x, r.top() + (r.height() - 13) / 2, 13, 13));
        b.state |= dp->checked() ? QStyle::State_On : QStyle::State_Off;
        style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &b, &p);
        x += tk::TDateTimePicker::checkboxWidth;
    }
    QColor color = dp->checked() ? fontColor(*dp) : QApplication::palette().color(QPalette::Disabled, QPalette::Text);
    text(p,
         QRect(x, r.top(),
               r.width() - (x - r.left()) - tk::TDateTimePicker::buttonWidth - tk::TDateTimePicker::textRightMargin,
               r.height()),
         dp->displayText(), dp->drawingFont(), Qt::AlignVCenter, color);
    return;
}

void paintCustomEdit(QPainter& p, tk::TControl& c, QRect r, QPoint)
{
    auto* e = static_cast<tk::TCustomEdit*>(&c);
    paintEdit(p, *e, r);
    return;
}

void paintStaticText(QPainter& p, tk::TControl& c, QRect r, QPoint)
{
    auto* st = static_cast<tk::TStaticText*>(&c);
    if (!st->transparent()) p.fillRect(r, qtColor(st->color()));
    if (st->borderStyle() != tk::TStaticBorderStyle::sbsNone)
        qDrawShadePanel(&p, r, QApplication::palette(), st->borderStyle() == tk::TStaticBorderStyle::sbsSunken, 1);
    int align = st->alignment() == tk::TAlignment::taCenter         ? Qt::AlignHCenter
                : st->alignment() == tk::TAlignment::taRightJustify ? Qt::AlignRight
                                                                    : Qt::AlignLeft;
    text(p, r.adjusted(2, 2, -2, -2), st->displayText(), st->drawingFont(), align | Qt::AlignTop | Qt::TextDontClip,
         fontColor(*st));
    return;
}

void paintLabel(QPainter& p, tk::TControl& c, QRect r, QPoint)
{
    auto* l = static_cast<tk::TLabel*>(&c);
    if (!l->transparent()) p.fillRect(r, qtColor(l->color()));
    int align = l->alignment() == tk::TAlignment::taCenter         ? Qt::AlignHCenter
                : l->alignment() == tk::TAlignment::taRightJustify ? Qt::AlignRight
                                                                   : Qt::AlignLeft;
    text(p, r, l->displayText(), l->drawingFont(),
         align | Qt::AlignTop | Qt::TextDontClip | (l->wordWrap() ? Qt::TextWordWrap : 0), fontColor(*l));
    return;
}

void paintPanel(QPainter& p, tk::TControl& c, QRect r, QPoint origin)
{
    auto* pn = static_cast<tk::TPanel*>(&c);
    p.fillRect(r, qtColor(pn->color()));
    if (pn->bevelOuter() != tk::TBevelCut::bvNone)
        qDrawShadePanel(&p, r, QApplication::palette(), pn->bevelOuter() == tk::TBevelCut::bvLowered, pn->bevelWidth());
    text(p, r, pn->caption(), pn->drawingFont(), Qt::AlignCenter, fontColor(*pn));
    paintChildren(p, *pn, origin);
    return;
}

void paintBevel(QPainter& p, tk::TControl& c, QRect r, QPoint)
{
    auto* bv = static_cast<tk::TBevel*>(&c);
    QPalette pal = QApplication::palette();
    bool sunken = bv->style() == tk::TBevelStyle::bsLowered;
    switch (bv->shape()) {
    case tk::TBevelShape::bsBox:
    case tk::TBevelShape::bsFrame: qDrawShadeRect(&p, r, pal, sunken, 1); break;
    case tk::TBevelShape::bsTopLine: qDrawShadeLine(&p, r.topLeft(), r.topRight(), pal, sunken, 1); break;
    case tk::TBevelShape::bsBottomLine: qDrawShadeLine(&p, r.bottomLeft(), r.bottomRight(), pal, sunken, 1); break;
    case tk::TBevelShape::bsLeftLine: qDrawShadeLine(&p, r.topLeft(), r.bottomLeft(), pal, sunken, 1); break;
    case tk::TBevelShape::bsRightLine: qDrawShadeLine(&p, r.topRight(), r.bottomRight(), pal, sunken, 1); break;
    default: break;
    }
    return;
}

void paintPlainWindow(QPainter& p, tk::TControl& c, QRect r, QPoint origin)
{
    auto* w = static_cast<tk::TWinControl*>(&c);
    if (!w->parentColor() || tk::as<tk::TTabSheet>(w)) p.fillRect(r, qtColor(w->color()));
    paintChildren(p, *w, origin);
    return;
}

// A graphic control without a painter of its own: splitters and the like.
void paintPlainControl(QPainter& p, tk::TControl& c, QRect r, QPoint)
{
    p.fillRect(r, qtColor(c.color()));
}

using ControlPainter = void (*)(QPainter& p, tk::TControl& c, QRect r, QPoint origin);

// The painter of each class; a class without one is painted as its nearest
// ancestor that has one. A new control class adds one line here.
const std::unordered_map<const tk::ClassInfo*, ControlPainter>& painters()
{
    static const std::unordered_map<const tk::ClassInfo*, ControlPainter> table = {
        {&tk::TPageControl::staticClassInfo(), paintPages},
        {&tk::TDBGrid::staticClassInfo(), paintDBGrid},
        {&tk::TStatusBar::staticClassInfo(), paintStatusBar},
        {&tk::TButton::staticClassInfo(), paintButton},
        {&tk::TSpeedButton::staticClassInfo(), paintSpeedButton},
        {&tk::TCheckBox::staticClassInfo(), paintCheckBox},
        {&tk::TRadioGroup::staticClassInfo(), paintRadioGroup},
        {&tk::TComboBox::staticClassInfo(), paintComboBox},
        {&tk::TSpinEdit::staticClassInfo(), paintSpinEdit},
        {&tk::TDateTimePicker::staticClassInfo(), paintDateTimePicker},
        {&tk::TCustomEdit::staticClassInfo(), paintCustomEdit},
        {&tk::TStaticText::staticClassInfo(), paintStaticText},
        {&tk::TLabel::staticClassInfo(), paintLabel},
        {&tk::TPanel::staticClassInfo(), paintPanel},
        {&tk::TBevel::staticClassInfo(), paintBevel},
        {&tk::TWinControl::staticClassInfo(), paintPlainWindow},
        {&tk::TControl::staticClassInfo(), paintPlainControl},
    };
    return table;
}

void paintControl(QPainter& p, tk::TControl& c, QPoint origin)
{
    QRect r(origin, QSize(c.width(), c.height()));
    const auto& table = painters();
    for (const tk::ClassInfo* k = &c.classInfo(); k; k = k->parent)
        if (auto it = table.find(k); it != table.end()) {
            it->second(p, c, r, origin);
            return;
        }
}

}  // namespace

QColor qtColor(tk::TColor c)
{
    if (c < 0 && c >= tk::clSystemColor) return systemColor(c);
    if (c == tk::clDefault || c == tk::clNone) return QApplication::palette().color(QPalette::Window);
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

// What a design tool lays over the window: the selection's handles (the
// primary control's filled, the others' hollow) and a rubber band.
void paintOverlay(QPainter& p, const tk::TCustomForm& form)
{
    const tk::Overlay* overlay = tk::Application ? tk::Application->overlay() : nullptr;
    if (!overlay) return;
    tk::TPoint o = form.clientOrigin();
    auto local = [&](const tk::TRect& r) { return QRect(r.left - o.x, r.top - o.y, r.width(), r.height()); };
    std::vector<tk::Overlay::Mark> marks;
    overlay->marks(form, marks);
    QPalette pal = QApplication::palette();
    for (const tk::Overlay::Mark& m : marks) {
        QRect r = local(m.rect);
        p.fillRect(r, m.filled ? pal.color(QPalette::Highlight) : pal.color(QPalette::Base));
        p.setPen(m.filled ? pal.color(QPalette::Highlight).darker(150) : pal.color(QPalette::Text));
        p.drawRect(r.adjusted(0, 0, -1, -1));
    }
    if (std::optional<tk::TRect> band = overlay->band(form)) {
        QPen pen(pal.color(QPalette::Text));
        pen.setStyle(Qt::DashLine);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawRect(local(*band).adjusted(0, 0, -1, -1));
    }
}

void paintWindow(QPainter& p, tk::TCustomForm& form)
{
    QRect r(0, 0, form.clientWidth(), form.clientHeight());
    p.fillRect(r, qtColor(form.color()));
    if (auto* hint = tk::as<tk::THintWindow>(&form)) {
        p.setPen(QApplication::palette().color(QPalette::Dark));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        int y = 3;
        for (const std::string& line : hint->lines()) {
            text(p, QRect(4, y, r.width() - 8, form.textHeight()), line, form.drawingFont(), Qt::AlignLeft,
                 qtColor(form.drawingFont().color()));
            y += form.textHeight();
        }
        return;
    }
    paintChildren(p, form, QPoint(0, 0));
    paintOverlay(p, form);
}

void paintPopup(QPainter& p, tk::TPopup& popup)
{
    tk::TRect sr = popup.screenRect();
    QRect r(0, 0, sr.width(), sr.height());
    QPalette pal = QApplication::palette();
    p.fillRect(r, pal.color(QPalette::Base));
    p.setPen(pal.color(QPalette::Dark));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    tk::TFont font;
    if (auto* menu = tk::as<tk::TPopupMenu>(popup.popupAsComponent())) {
        p.fillRect(r.adjusted(1, 1, -1, -1), pal.color(QPalette::Window));
        auto items = menu->visibleItems();
        for (int i = 0; i < static_cast<int>(items.size()); ++i) {
            QRect ir(2, 2 + i * tk::TPopupMenu::itemHeight, r.width() - 4, tk::TPopupMenu::itemHeight);
            bool lit = i == menu->highlighted();
            if (lit) p.fillRect(ir, pal.color(QPalette::Highlight));
            QColor ink = lit ? pal.color(QPalette::HighlightedText)
                             : pal.color(items[i]->enabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text);
            if (items[i]->checked()) text(p, ir.adjusted(4, 0, 0, 0), "\u2713", font, Qt::AlignVCenter, ink);
            text(p, ir.adjusted(20, 0, 0, 0), tk::stripAccelerator(items[i]->caption()), font, Qt::AlignVCenter, ink);
            if (std::string key = tk::shortCutText(items[i]->shortCut()); !key.empty())
                text(p, ir.adjusted(0, 0, -8, 0), key, font, Qt::AlignVCenter | Qt::AlignRight, ink);
            else if (items[i]->count())
                text(p, ir.adjusted(0, 0, -8, 0), "\u25B8", font, Qt::AlignVCenter | Qt::AlignRight, ink);
        }
        return;
    }
    if (auto* cb = tk::as<tk::TComboBox>(popup.popupOwner())) {
        int h = cb->itemHeight();
        for (int i = 0; i < static_cast<int>(cb->items().size()) && i * h < r.height(); ++i) {
            QRect ir(1, 1 + i * h, r.width() - 2, h);
            bool lit = i == cb->highlighted();
            if (lit) p.fillRect(ir, pal.color(QPalette::Highlight));
            text(p, ir.adjusted(2, 0, 0, 0), cb->items()[i], cb->drawingFont(), Qt::AlignVCenter,
                 lit ? pal.color(QPalette::HighlightedText) : pal.color(QPalette::Text));
        }
    } else if (auto* dp = tk::as<tk::TDateTimePicker>(popup.popupOwner())) {
        using P = tk::TDateTimePicker;
        QRect title(2, 2, r.width() - 4, P::titleHeight);
        p.fillRect(title, qtColor(dp->calColors()->titleBackColor()));
        std::string month = std::to_string(dp->calendarYear()) + ". " + std::to_string(dp->calendarMonth());
        text(p, title, "◀   " + month + "   ▶", dp->drawingFont(), Qt::AlignCenter,
             qtColor(dp->calColors()->titleTextColor()));
        static const char* days[] = {"H", "K", "Sze", "Cs", "P", "Szo", "V"};
        for (int col = 0; col < 7; ++col)
            text(p, QRect(2 + col * P::cellWidth, 2 + P::titleHeight, P::cellWidth, P::cellHeight), days[col],
                 dp->drawingFont(), Qt::AlignCenter, pal.color(QPalette::Text));
        for (int row = 0; row < 6; ++row)
            for (int col = 0; col < 7; ++col) {
                double d = dp->cellDate(row, col);
                int y, m, day;
                tk::decodeDate(d, y, m, day);
                QRect cell(2 + col * P::cellWidth, 2 + P::titleHeight + (row + 1) * P::cellHeight, P::cellWidth,
                           P::cellHeight);
                if (d == dp->date()) p.fillRect(cell, pal.color(QPalette::Highlight));
                text(p, cell, std::to_string(day), dp->drawingFont(), Qt::AlignCenter,
                     m == dp->calendarMonth() ? pal.color(QPalette::Text)
                                              : qtColor(dp->calColors()->trailingTextColor()));
            }
    }
}

}  // namespace gui
