#pragma once

#include "HostObject.h"

#include <QStringList>

class ConnectionProvider;

namespace db {
struct FieldInfo;
}

namespace vbs {
class Engine;
}

// The ADO-like objects that stored scripts were written against: a connection ("cn", or
// CreateObject("ADODB.Connection")), its recordsets with their Fields, and transactions.
// Database errors inside a script become script errors carrying the database's text.
namespace ado {

// ADO's DataTypeEnum for a column the layer reads (3 integer, 131 numeric, 135 timestamp, 200 text …).
int adoType(const db::FieldInfo &field);

// "cn": the program's live connection, taken from the provider at every call so that a
// reconnection is seen; Close on it only marks this object closed.
vbs::HostObjectRef sharedConnection(ConnectionProvider &provider);
// CreateObject("ADODB.Connection"): closed until Open with one of our connection strings.
vbs::HostObjectRef newConnection();
// CreateObject("ADODB.Recordset"): closed until Open(source, connection, ...).
vbs::HostObjectRef newRecordset();
// Rolls back the transactions a script began on this connection object and did not end, so the
// program's connection never stays inside them; the script host calls it after every run.
// Letting go of the object does the same. Other objects are ignored.
void endScriptTransactions(const vbs::HostObjectRef &connection);
// Makes CreateObject("ADODB.Connection") and CreateObject("ADODB.Recordset") work on the engine.
void registerProgIds(vbs::Engine &engine);

// Member signatures for the script editor's help list ("Execute(sSQL)", "BeginTrans" ...).
QStringList connectionMembers();
QStringList recordsetMembers();

} // namespace ado
