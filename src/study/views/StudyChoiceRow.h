#pragma once

#include <QAbstractButton>

namespace qv::study {

// One answer choice of a question: the choice's text on the surface colour in
// a rounded outline that turns accent while the row is the chosen one. The
// text is the user's own and is drawn as it stands (no mnemonics).
class StudyChoiceRow final : public QAbstractButton {
    Q_OBJECT
public:
    static constexpr int kPadding = 10;
    static constexpr double kRadius = 10;

    explicit StudyChoiceRow(const QString &choice, QWidget *parent = nullptr);

    const QString &choice() const { return m_choice; }
    bool isChosen() const { return m_chosen; }
    void setChosen(bool chosen);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_choice;
    bool m_chosen = false;
};

} // namespace qv::study
