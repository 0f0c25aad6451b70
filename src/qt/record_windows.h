// Record inspection windows: rules, the four model kinds and constraints,
// each a list of record numbers beside the fields of the selected record.
// The layout and the records come from the core's record source.
#pragma once

#include <functional>
#include <memory>

#include <QWidget>

#include "port/record_source.h"

class QListView;
class QListWidget;
class QLineEdit;

namespace torv::qt {

class RecordWindow : public QWidget {
    Q_OBJECT
public:
    RecordWindow(std::shared_ptr<const port::RecordSource> source, std::function<void()> help,
                 QWidget* parent = nullptr);

    /// The record numbers; rows are made only as they are shown.
    QListView* numbers() const { return numbers_; }
    /// A field by its label ("Rule conclusion", "Number of basic models").
    QLineEdit* field(const QString& label) const;
    /// A group's list by its title (" List of conditions ").
    QListWidget* group(const QString& title) const;

private:
    void showRecord();

    std::shared_ptr<const port::RecordSource> source_;
    QListView* numbers_;
    QList<QLineEdit*> fields_;
    QList<QListWidget*> groups_;
};

}  // namespace torv::qt
