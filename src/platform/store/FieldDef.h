#pragma once

#include "FieldKind.h"

#include <QString>
#include <Qt>

// The definition of one field of a table: storage, rules and default display.
struct FieldDef {
    QString name;
    FieldKind kind = FieldKind::String;
    int size = 0;            // characters, for String fields
    bool required = false;   // refused empty at post
    bool calculated = false; // filled by the table's OnCalcFields, never stored
    QString displayLabel;    // defaults to the name
    int displayWidth = 0;    // characters in a grid column
    Qt::Alignment alignment = Qt::AlignLeft;
    bool visible = true;   // shown as a grid column
    QString editMask;      // edit-mask notation, e.g. "!99/99/00;1;_"
    QString displayFormat; // for Float fields: "00%"

    QString label() const { return displayLabel.isEmpty() ? name : displayLabel; }

    // Definitions read as one line each: FieldDef::text("Nom", 20).asRequired().withLabel(..).
    static FieldDef of(QString name, FieldKind kind, int size = 0)
    {
        FieldDef f;
        f.name = std::move(name);
        f.kind = kind;
        f.size = size;
        return f;
    }
    static FieldDef text(QString name, int size)
    {
        return of(std::move(name), FieldKind::String, size);
    }
    static FieldDef memo(QString name) { return of(std::move(name), FieldKind::Memo); }
    static FieldDef date(QString name) { return of(std::move(name), FieldKind::Date); }
    static FieldDef money(QString name) { return of(std::move(name), FieldKind::Money); }
    static FieldDef number(QString name) { return of(std::move(name), FieldKind::Float); }
    static FieldDef rowId(QString name)
    {
        return of(std::move(name), FieldKind::AutoIncrement).hidden();
    }

    FieldDef asRequired() const
    {
        return with([](FieldDef &f) { f.required = true; });
    }
    FieldDef asCalculated() const
    {
        return with([](FieldDef &f) { f.calculated = true; });
    }
    FieldDef hidden() const
    {
        return with([](FieldDef &f) { f.visible = false; });
    }
    FieldDef withLabel(const QString &l) const
    {
        return with([&](FieldDef &f) { f.displayLabel = l; });
    }
    FieldDef withWidth(int w, Qt::Alignment a = Qt::AlignLeft) const
    {
        return with([&](FieldDef &f) {
            f.displayWidth = w;
            f.alignment = a;
        });
    }
    FieldDef withMask(const QString &m) const
    {
        return with([&](FieldDef &f) { f.editMask = m; });
    }
    FieldDef withFormat(const QString &d) const
    {
        return with([&](FieldDef &f) { f.displayFormat = d; });
    }

private:
    template <typename Change> FieldDef with(Change change) const
    {
        FieldDef f = *this;
        change(f);
        return f;
    }
};
