// Record inspection windows: rules, the four model kinds and constraints,
// each a list of record numbers beside the fields of the selected record.
#pragma once

#include <functional>
#include <vector>

#include <QStringList>
#include <QWidget>

#include "port/user_port.h"

class QListWidget;
class QLineEdit;

namespace torv::kb { class Store; }

namespace torv::qt {

/// What one record window shows. The record's fields are looked up from the
/// text of the selected number, the first record with that number winning.
struct RecordWindowLayout {
    QString title;
    QString heading;                    // e.g. "BASIC MODELS"; may be empty
    QString formula;                    // formula caption; may be empty
    QString numberLabel;                // caption of the number list; may be empty
    QString closeLabel = QStringLiteral("&Close");
    std::vector<std::pair<QString, int>> counts;   // read-only count fields
    QStringList fields;                 // labels of the record's one-line fields
    QStringList groups;                 // titles of the record's list groups
    QStringList numbers;                // the number list, in store order
    struct Record {
        QStringList fields;
        std::vector<QStringList> groups;
    };
    std::function<Record(int number)> record;
};

/// The layout of a record window over the store's current contents.
RecordWindowLayout recordWindowLayout(port::UserPort::RecordWindow which, const kb::Store& store);

class RecordWindow : public QWidget {
    Q_OBJECT
public:
    RecordWindow(RecordWindowLayout layout, std::function<void()> help, QWidget* parent = nullptr);

    QListWidget* numbers() const { return numbers_; }
    /// A field by its label ("Rule conclusion", "Number of basic models").
    QLineEdit* field(const QString& label) const;
    /// A group's list by its title (" List of conditions ").
    QListWidget* group(const QString& title) const;

private:
    void showRecord();

    RecordWindowLayout layout_;
    QListWidget* numbers_;
    QList<QLineEdit*> fields_;
    QList<QListWidget*> groups_;
};

}  // namespace torv::qt
