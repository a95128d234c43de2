// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QAbstractButton>
#include <QString>

// An invisible touch area over one line fragment of a link in a markup label. It draws
// nothing (the label draws the link's look) and reports the three touch events the label
// needs: down, up inside and up outside.
class RVMarkupLinkButton final : public QAbstractButton
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RVMarkupLinkButton)

public:
    explicit RVMarkupLinkButton(QWidget *parent = nullptr);

    int componentIndex() const { return m_componentIndex; }
    void setComponentIndex(int index) { m_componentIndex = index; }
    QString url() const { return m_url; }
    void setUrl(const QString &url) { m_url = url; }

Q_SIGNALS:
    void touchDown(RVMarkupLinkButton *button);
    void touchUpInside(RVMarkupLinkButton *button);
    void touchUpOutside(RVMarkupLinkButton *button);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int m_componentIndex = -1;
    QString m_url;
};
