#pragma once
// The suite's look-up field (every slt... of the forms) without its widget: bound to a Major view
// (the list: ID, Code, Name) and a Minor view (the detail), with a caption, two list filters, an
// in-use flag and the selected ID. Choosing an entry emits changed(), which runs the field's
// change handler. Searching asks the database for a limited page per keystroke, so a list of
// 100,000 rows never loads whole.
//
// The session is borrowed from the context of the form that owns the model.

#include <QObject>
#include <QString>
#include <QVector>

#include "common/Context.h"
#include "common/SqlCondition.h"

namespace si {

struct SelectorItem {
    int id = -1;
    QString code;
    QString name;
    QString text() const;  // what the field shows: the name, after the code when there is one
};

class SelectorModel : public QObject {
    Q_OBJECT
public:
    explicit SelectorModel(Context& ctx, QObject* parent = nullptr) : QObject(parent), ctx_(&ctx) {}

    Context& context() const { return *ctx_; }

    void setViews(const QString& major, const QString& minor) {
        major_ = major;
        minor_ = minor;
    }
    const QString& majorView() const { return major_; }
    const QString& minorView() const { return minor_; }
    void setCaption(const QString& caption) { caption_ = caption; }
    const QString& caption() const { return caption_; }
    void setObjectInUse(bool inUse) { inUse_ = inUse; }
    bool objectInUse() const { return inUse_; }

    // The two list filters; the header always sets both to the same condition.
    void setListFilter(const SqlCondition& filter) {
        filter1_ = filter;
        filter2_ = filter;
    }
    void setListFilters(const SqlCondition& first, const SqlCondition& second) {
        filter1_ = first;
        filter2_ = second;
    }
    void clearListFilters() {
        filter1_ = {};
        filter2_ = {};
    }
    const SqlCondition& listFilter1() const { return filter1_; }
    const SqlCondition& listFilter2() const { return filter2_; }
    SqlCondition combinedFilter() const { return filter1_ && filter2_; }

    int ID() const { return id_; }
    bool IsEmpty() const { return id_ < 1; }
    // Selects an entry and reads its text from the Major view; emits changed() when the ID differs
    // or when force is set (a handler fired on purpose). An ID not in the view still selects it,
    // with an empty text, as the suite's control did.
    void setID(int id, bool force = false);
    // Sets the ID without reading the text or emitting changed() (loading many fields at once).
    void setIDQuietly(int id, const QString& text);
    void Clear();
    QString text() const { return text_; }

    // Entries of the Major view whose code or name contains the typed text, within the filters:
    // compared folded (FoldedText) and without case, whichever keyboard typed or stored them.
    QVector<SelectorItem> search(const QString& typed, int limit = 50) const;
    // The first entry by ID within the filters (the header's setTopID).
    int topID() const;
    // Re-reads the shown text (after the view's rows changed).
    void requery();
    // Whether an ID is listed under the current filters.
    bool isListed(int id) const;

    // Everything the field holds, to be put back after a command failed: restoring reads nothing
    // and runs no change handler.
    struct State {
        QString major, minor, caption;
        bool inUse = true;
        SqlCondition filter1, filter2;
        int id = -1;
        QString text;
    };
    State state() const;
    void restore(const State& state);

Q_SIGNALS:
    void changed();
    void textChanged(const QString& text);

private:
    QString readText(int id) const;

    Context* ctx_;
    QString major_;
    QString minor_;
    QString caption_;
    bool inUse_ = true;
    SqlCondition filter1_;
    SqlCondition filter2_;
    int id_ = -1;
    QString text_;
};

}  // namespace si
