#pragma once

#include <QList>
#include <QVariant>
#include <QWidget>

#include <functional>
#include <optional>

class QLabel;
class QHBoxLayout;

namespace qv {

class QVButton;

// A row of capsule buttons of which one is chosen: the chosen option is drawn
// as a primary button, the others as secondary ones. Options are values of
// any type a QVariant holds; the caller owns the selection and hears of
// presses through selectionChanged.
class QVPillPicker : public QWidget {
    Q_OBJECT
public:
    using Label = std::function<QString(const QVariant &)>;

    explicit QVPillPicker(std::optional<QString> title = std::nullopt, QWidget *parent = nullptr);

    void setOptions(const QList<QVariant> &options, Label label);
    template <typename T>
    void setOptions(const QList<T> &options, std::function<QString(const T &)> label)
    {
        QList<QVariant> values;
        for (const T &o : options)
            values.append(QVariant::fromValue(o));
        setOptions(values, [label](const QVariant &v) { return label(v.value<T>()); });
    }

    QList<QVariant> options() const { return m_options; }
    QVariant selection() const { return m_selection; }
    // Sets the chosen option without emitting selectionChanged. A value that
    // equals no option leaves every pill unselected.
    void setSelection(const QVariant &value);
    template <typename T>
    T selectionAs() const
    {
        return m_selection.value<T>();
    }

    // The pill of option `index`.
    QVButton *pill(int index) const;
    QLabel *titleLabel() const { return m_title; }

signals:
    // A pill was pressed; the selection is already `value`.
    void selectionChanged(const QVariant &value);

private:
    void restyle();

    QLabel *m_title = nullptr;
    QHBoxLayout *m_row;
    QList<QVariant> m_options;
    QList<QVButton *> m_pills;
    QVariant m_selection;
};

} // namespace qv
