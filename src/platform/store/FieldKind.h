#pragma once

// The kinds of field a table holds, and how each is kept in memory:
// String, Memo: QString; Date: QDate; Money: qlonglong cents; Float: double;
// AutoIncrement: qlonglong. An empty field is a null QVariant.
enum class FieldKind { String, Memo, Date, Money, Float, AutoIncrement };
