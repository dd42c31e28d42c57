// SPDX-License-Identifier: GPL-3.0-or-later
// Check boxes and radio buttons whose caption wraps onto further lines, as a word-wrapped
// label does, where their row is narrower than the caption: a long caption in a wide font
// or a longer language is shown whole instead of being cut off.
#pragma once

#include <QCheckBox>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStylePainter>

#include <algorithm>
#include <type_traits>

namespace tessaro {

template <typename Button>
class WrappingButton final : public Button {
    static_assert(std::is_same_v<Button, QCheckBox> || std::is_same_v<Button, QRadioButton>);

public:
    explicit WrappingButton(QWidget* parent = nullptr) : Button(parent) {
        // A check box will neither get narrower than its caption nor higher than one line by
        // default; this one trades width for lines.
        QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred, this->sizePolicy().controlType());
        policy.setHeightForWidth(true);
        this->setSizePolicy(policy);
    }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return sizeAt(width).height(); }
    // Narrowest with its longest word on a line of its own.
    QSize minimumSizeHint() const override {
        int longest = 0;
        for (const QString& word : this->text().split(u' ', Qt::SkipEmptyParts)) {
            longest = std::max(longest, this->fontMetrics().horizontalAdvance(word));
        }
        return {sizeFor(QSize(longest, 0)).width(), Button::sizeHint().height()};
    }

protected:
    // The whole area takes clicks, the caption's further lines too.
    bool hitButton(const QPoint& at) const override { return this->rect().contains(at); }

    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionButton option;
        this->initStyleOption(&option);
        const QString caption = option.text;
        option.text.clear();
        painter.drawControl(kIsRadio ? QStyle::CE_RadioButton : QStyle::CE_CheckBox, option);
        option.text = caption;
        const QRect area = this->style()->subElementRect(
            kIsRadio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &option, this);
        painter.drawItemText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap | Qt::TextShowMnemonic,
                             option.palette, this->isEnabled(), caption, QPalette::WindowText);
    }

private:
    static constexpr bool kIsRadio = std::is_same_v<Button, QRadioButton>;

    // The button around a caption of `text` size: the indicator and the spacing added.
    QSize sizeFor(QSize text) const {
        QStyleOptionButton option;
        this->initStyleOption(&option);
        return this->style()->sizeFromContents(kIsRadio ? QStyle::CT_RadioButton : QStyle::CT_CheckBox, &option,
                                               text, this);
    }

    // The size at `width`, with the caption wrapped to the width left beside the indicator.
    QSize sizeAt(int width) const {
        const int textWidth = std::max(1, width - sizeFor(QSize(0, 0)).width());
        const QRect lines = this->fontMetrics().boundingRect(QRect(0, 0, textWidth, QWIDGETSIZE_MAX),
                                                             Qt::TextWordWrap | Qt::TextShowMnemonic, this->text());
        return sizeFor(lines.size());
    }
};

}  // namespace tessaro
