#pragma once

#include "CConsulta.h"
#include "LookupDefinition.h"
#include "LookupResultsModel.h"
#include "LookupServices.h"

#include <QDate>
#include <QStringList>

#include <functional>
#include <optional>
#include <utility>

// The rules of the lookup windows (frmConsulta, frmCatalogo, frmConsultaArt): the search with
// every message, the accepted row, the maintenance commands guarded by the profile's rights,
// and the two search settings. Search values are bound, never written into the SQL text; a
// text search ignores case (accented letters included) on both engines, and '%', '_' and
// apostrophes typed by the user are matched literally.
class LookupSearch {
public:
    enum class Outcome {
        Refused,   // a message said what is missing
        Cancelled, // the user said No to the empty-search question
        Failed,    // the database refused; reported, the grid kept its rows
        NotFound,  // "No se encontraron elementos con el criterio indicado"
        Found,
        Accepted,  // auto-accept: exactly one row, taken at once
    };
    // Where the window puts the focus after the last search or command.
    enum class Focus { None, Field, Text, Dates };

    struct Criteria {
        int field = -1; // index into the definition's search fields
        QString text;
        QDate desde;
        QDate hasta;
    };

    // Commands of the maintenance window; all false and hidden without one.
    struct Commands {
        bool visible = false;
        bool alta = false;
        bool cambio = false;
        bool baja = false;
        bool consulta = false;
    };

    LookupSearch(const LookupServices &services, const LookupDefinition &definition,
                 MaintenanceOpener opener = {});

    const LookupDefinition &definition() const { return m_definition; }
    LookupResultsModel &model() { return m_model; }
    const LookupServices &services() const { return m_services; }

    // The statement of a search, with its values; nothing when the criteria were refused or
    // the user cancelled (outcome says which).
    std::optional<PreparedQuery> composeQuery(const Criteria &criteria, Outcome *outcome = nullptr);
    // The search: composes, reads the first page into the model and handles the outcomes.
    Outcome cmdBuscar(const Criteria &criteria);
    Focus focus() const { return m_focus; }

    // The chosen row; "Debe seleccionar un registro" when row is -1.
    bool cmdAceptar(int row);
    const LookupResult &result() const { return m_result; }
    LookupResult resultFor(int row) const;

    const Commands &commands() const { return m_commands; }
    // Open the maintenance window; true when it may have changed rows, after which the last
    // search has run again.
    bool cmdReg();
    bool cmdMod(int row);
    bool cmdBaja(int row);
    bool cmdCon(int row);

    // Search-kind and question combos: entries of the list-entry convention, keys "S"/"N".
    static QStringList opcionesBusqueda();
    static QStringList opcionesPregunta();
    int busquedaIndex() const;
    int preguntaIndex() const;
    void setBusqueda(const QString &entry);
    void setPregunta(const QString &entry);
    bool cmdSalvarSetting();

    // First day of the month of today; the end one month after the day before it.
    static std::pair<QDate, QDate> rangoInicial(const QDate &today);

    // The window's part of a running search: disable/enable the search command and show
    // "Cargando datos ..." (empty text clears the status bar).
    void setBusyHandler(std::function<void(bool busy)> handler) { m_busy = std::move(handler); }
    void setStatusHandler(std::function<void(const QString &text)> handler) { m_status = std::move(handler); }

    // The text condition of one column: case-insensitive, '%', '_' and '\' literal.
    // anywhere: the text may stand anywhere in the value; else only at its start.
    static PreparedQuery textCondition(const QString &column, const QString &text, bool anywhere,
                                       bool sqlite);
    // The same condition for a search field, through its trigram table when it has one (SQLite)
    // and the text is long enough for trigrams; the rows it selects are textCondition's.
    static PreparedQuery fieldCondition(const LookupField &field, const QString &text, bool anywhere,
                                        bool sqlite);

    // Fills the grid with the first page of a statement; a database error is reported and
    // leaves the grid as it was.
    bool cargaGrid(const PreparedQuery &query);

    // A click on a column's header: the rows of the last search again, all of them ordered by
    // that column (by the database, not only the page on screen); later searches keep it.
    // column -1 goes back to the definition's own order.
    void ordena(int column, Qt::SortOrder order);

private:
    bool maintenance(QChar command, bool allowed, int row);
    bool needsRow(int row);

    LookupServices m_services;
    LookupDefinition m_definition;
    MaintenanceOpener m_opener;
    CConsulta m_consulta;
    LookupResultsModel m_model;
    Commands m_commands;
    LookupResult m_result;
    Focus m_focus = Focus::None;
    std::optional<PreparedQuery> m_last;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    std::function<void(bool)> m_busy;
    std::function<void(const QString &)> m_status;
};
