// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/account/rvlargetextsetting.h"

#include "platform/interfacescale.h"
#include "platform/userdefaults.h"
#include "screens/shared/rvalert.h"
#include "toolkit/color.h"
#include "toolkit/font.h"
#include "toolkit/label.h"
#include "toolkit/tableview.h"
#include "toolkit/tableviewcell.h"

#include <QLocale>

#include <cmath>

namespace
{
double keptFactor()
{
    return platform::InterfaceScale::stored(platform::UserDefaults::standardUserDefaults());
}
} // namespace

const QList<double> &RVLargeTextSetting::choices()
{
    static const QList<double> factors{1.0, 1.25, 1.5, 2.0};
    return factors;
}

QString RVLargeTextSetting::factorText(double factor)
{
    // One decimal, two where the factor has them: 1.0, 1.25, 1.5, 2.0.
    const int decimals = qFuzzyCompare(factor * 10, std::round(factor * 10)) ? 1 : 2;
    return tr("%1倍").arg(QLocale().toString(factor, 'f', decimals));
}

ui::TableView *RVLargeTextSetting::makeTable(const QRectF &frame)
{
    m_table = new ui::TableView(frame);
    m_table->setDataSource(this);
    m_table->setDelegate(this);
    m_table->setScrollEnabled(false);
    m_table->setBackgroundView(nullptr);
    m_table->setBackgroundColor(ui::Color::colorWithWhite(0.96, 1.0));
    m_table->reloadData();
    return m_table;
}

ui::TableViewCell *RVLargeTextSetting::cellForRowAtIndexPath(ui::TableView *, const ui::IndexPath &)
{
    auto *cell = new ui::TableViewCell(ui::TableViewCellStyle::Value1);
    cell->setBackgroundColor(ui::Color::whiteColor());
    cell->setSelectionStyle(ui::TableViewCellSelectionStyle::Blue);
    cell->setAccessoryType(ui::TableViewCellAccessoryType::DisclosureIndicator);
    // As large as the account's rows above it, which are plain rows.
    cell->textLabel()->setFont(ui::Font::boldSystemFontOfSize(20));
    cell->textLabel()->setText(tr("大字模式"));
    cell->detailTextLabel()->setText(factorText(keptFactor()));
    return cell;
}

void RVLargeTextSetting::didSelectRowAtIndexPath(ui::TableView *tableView,
                                                 const ui::IndexPath &indexPath)
{
    tableView->deselectRowAtIndexPath(indexPath, true);
    QStringList factors;
    for (double factor : choices())
        factors << factorText(factor);
    // The cancel button is 0; the factors follow in their order.
    RVAlert::ask(ui::TableViewDataSource::aliveToken(), tr("大字模式"),
                 tr("文字和画面一起放大。现在：%1").arg(factorText(keptFactor())), tr("取消"),
                 factors, [this](int buttonIndex) {
                     if (buttonIndex >= 1 && buttonIndex <= choices().size())
                         choose(choices().at(buttonIndex - 1));
                 });
}

bool RVLargeTextSetting::choose(double factor)
{
    if (factor == keptFactor())
        return true;
    if (!platform::InterfaceScale::store(platform::UserDefaults::standardUserDefaults(), factor)) {
        RVAlert::show(tr("大字模式未能保存"));
        return false;
    }
    if (m_table)
        m_table->reloadData();
    RVAlert::show(tr("大字模式改为%1，重新启动后生效。").arg(factorText(factor)));
    return true;
}
