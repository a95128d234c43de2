// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/account/rvpersonalviewcontroller.h"

#include "components/rvmarkuplabel.h"
#include "models/rvaccount.h"
#include "models/rvpersonalcard.h"
#include "platform/secretstore.h"
#include "protocols/rvappconfiginfo.h"
#include "toolkit/color.h"
#include "toolkit/font.h"
#include "toolkit/image.h"
#include "toolkit/label.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/storyboard.h"
#include "toolkit/tableviewcell.h"

#include <QFontMetricsF>

using namespace Qt::StringLiterals;

namespace
{
const QString reuseIdentifier = u"ReusePersonalCell"_s;
constexpr qreal kCardHeight = 80;
constexpr qreal kRowHeight = ui::TableViewCell::kDefaultRowHeight;
constexpr qreal kTableGap = 10;

// The card label starts right of the picture and keeps the row's right margin.
const QRect cardLabelFrame(85, 15, 320 - 85 - 10, 60);

QFontMetricsF metricsAt(QFont font, int pixelSize)
{
    font.setPixelSize(pixelSize);
    return QFontMetricsF(font);
}

// A plain table that shows all its rows without scrolling, in the screen's colour.
ui::TableView *makeTable(qreal top, qreal height)
{
    auto *table = new ui::TableView(QRectF(0, top, 320, height));
    table->registerClass<ui::TableViewCell>(reuseIdentifier);
    return table;
}
} // namespace

RVPersonalViewController::RVPersonalViewController()
{
    setTitle(tr("个人中心"));
}

RVPersonalViewController::~RVPersonalViewController() = default;

void RVPersonalViewController::loadView()
{
    ui::ViewController::loadView();
    qreal top = kTableGap;
    infoTableView = makeTable(top, kCardHeight);
    top += kCardHeight + kTableGap;
    settingTableView = makeTable(top, 2 * kRowHeight);
    top += 2 * kRowHeight + kTableGap;
    otherTableView = makeTable(top, 2 * kRowHeight);
    top += 2 * kRowHeight + kTableGap;
    for (ui::TableView *table :
         {infoTableView.data(), settingTableView.data(), otherTableView.data()})
        view()->addSubview(table);
    // Large text is a setting of this device, not of the account: a table of its own.
    view()->addSubview(m_largeText.makeTable(QRectF(0, top, 320, kRowHeight)));
    top += kRowHeight + 2 * kTableGap;

    m_exitLoginButton = new ui::Button(ui::ButtonType::RoundedRect, QRectF(10, top, 300, 45));
    m_exitLoginButton->setTitle(tr("退出登录"));
    m_exitLoginButton->setTitleColor(ui::Color::redColor());
    m_exitLoginButton->addTarget([this](ui::Control *sender) { exitLoginButtonClick(sender); },
                                 ui::ControlEvent::TouchUpInside);
    view()->addSubview(m_exitLoginButton);
    top += 45 + kTableGap;

    // Without a keyring on this desktop the password stays in a file, and the user should know.
    if (platform::SecretStore::standard().where() == platform::SecretStore::Where::File) {
        m_passwordInFileLabel = new ui::Label(QRectF(10, top, 300, 20));
        m_passwordInFileLabel->setFont(ui::Font::systemFontOfSize(12));
        m_passwordInFileLabel->setTextColor(ui::Color::grayColor());
        m_passwordInFileLabel->setTextAlignment(ui::TextAlignment::Center);
        m_passwordInFileLabel->setText(tr("密码保存在本机的一个文件中"));
        view()->addSubview(m_passwordInFileLabel);
    }
}

void RVPersonalViewController::viewDidLoad()
{
    view()->setBackgroundColor(ui::Color::colorWithWhite(0.96, 1.0));
    for (ui::TableView *table :
         {infoTableView.data(), settingTableView.data(), otherTableView.data()}) {
        table->setDataSource(this);
        table->setDelegate(this);
        table->setScrollEnabled(false);
        table->setBackgroundView(nullptr);
        table->setBackgroundColor(view()->backgroundColor());
        table->reloadData();
    }
}

int RVPersonalViewController::numberOfRowsInSection(ui::TableView *tableView, int)
{
    return tableView == infoTableView ? 1 : 2;
}

qreal RVPersonalViewController::heightForRowAtIndexPath(ui::TableView *tableView,
                                                        const ui::IndexPath &)
{
    return tableView == infoTableView ? kCardHeight : kRowHeight;
}

ui::TableViewCell *RVPersonalViewController::cellForRowAtIndexPath(ui::TableView *tableView,
                                                                   const ui::IndexPath &indexPath)
{
    ui::TableViewCell *cell =
        tableView->dequeueReusableCellWithIdentifier(reuseIdentifier, indexPath);
    cell->setBackgroundColor(ui::Color::whiteColor());
    cell->setSelectionStyle(ui::TableViewCellSelectionStyle::None);
    if (tableView == infoTableView) {
        buildCard(cell);
        return cell;
    }
    cell->setAccessoryType(ui::TableViewCellAccessoryType::DisclosureIndicator);
    cell->setSelectionStyle(ui::TableViewCellSelectionStyle::Blue);
    if (tableView == settingTableView)
        cell->textLabel()->setText(indexPath.row == 0 ? tr("修改信息") : tr("修改密码"));
    else
        cell->textLabel()->setText(indexPath.row == 0 ? tr("我的挂号记录") : tr("有号提醒"));
    return cell;
}

void RVPersonalViewController::buildCard(ui::TableViewCell *cell)
{
    // A reused card row already holds its picture and label: only the text is new.
    auto *label = cell->contentView()->findChild<RVMarkupLabel *>();
    if (label == nullptr) {
        auto *picture = new ui::Button(ui::ButtonType::Custom, QRectF(10, 10, 60, 60));
        picture->layer().setCornerRadius(4);
        picture->layer().setMasksToBounds(true);
        picture->layer().setBorderWidth(1);
        picture->layer().setBorderColor(ui::Color::blueColor());
        picture->setBackgroundImage(ui::Image::imageNamed(u"user_setting_unselect.png"_s));
        picture->setBackgroundImage(ui::Image::imageNamed(u"user_setting_select.png"_s),
                                    ui::ControlState::Highlighted);
        cell->contentView()->addSubview(picture);

        label = new RVMarkupLabel(cardLabelFrame, cell->contentView());
        label->setParagraphReplacement(QString());
        label->setOpaque(false);
        label->setBackgroundColor(Qt::transparent);
        label->setLineSpacing(8);
        label->show();
    }
    label->setText(cardMarkup(RVAppConfigInfo().userInfo(), label->font(), label->width()));
    QRectF frame = cell->frame();
    frame.setHeight(kCardHeight);
    cell->setFrame(frame);
}

QString RVPersonalViewController::cardMarkup(const RVUserInfo &user, const QFont &font, qreal width)
{
    const RVPersonalCard card(user);
    const qreal room =
        width -
        metricsAt(font, RVPersonalCard::kFontSize).horizontalAdvance(RVPersonalCard::nameCaption());
    const int size = RVPersonalCard::nameSize(
        [&](int at) { return metricsAt(font, at).horizontalAdvance(card.name()) <= room; });
    return card.markup(metricsAt(font, size).elidedText(card.name(), Qt::ElideRight, room), size);
}

RVMarkupLabel *RVPersonalViewController::cardLabel() const
{
    ui::TableViewCell *cell =
        infoTableView ? infoTableView->cellForRowAtIndexPath({0, 0}) : nullptr;
    return cell != nullptr ? cell->contentView()->findChild<RVMarkupLabel *>() : nullptr;
}

void RVPersonalViewController::didSelectRowAtIndexPath(ui::TableView *tableView,
                                                       const ui::IndexPath &indexPath)
{
    tableView->deselectRowAtIndexPath(indexPath, true);
    if (tableView == otherTableView)
        pushScreen(indexPath.row == 0 ? u"appointMent"_s : u"watchList"_s);
    else if (tableView == settingTableView)
        pushScreen(indexPath.row == 0 ? u"modifyUserInfo"_s : u"modifyPasswd"_s);
}

void RVPersonalViewController::pushScreen(const QString &identifier)
{
    ui::NavigationController *navigation = navigationController();
    auto screen = RVScreen::fromStoryboard(identifier);
    // A screen the storyboard does not hold yet opens nothing.
    if (navigation != nullptr && screen)
        navigation->pushViewController(screen, true);
}

void RVPersonalViewController::exitLoginButtonClick(ui::Control *)
{
    RVAccount::logout(RVAccount::Reason::UserAsked);
    gotMainPage();
}
