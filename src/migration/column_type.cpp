/*
** Column type codes to SQL types. Only the first character selects the type;
** b, m, n and z take exactly one more character, t takes all the rest.
*/
#include "migration/column_type.h"

namespace kv {

std::string ColumnTypeSql(const std::string& code) {
  if (code.empty()) return code;
  // The parameter of b, m, n and z is the second character alone; a code
  // without one keeps an empty parameter and the server refuses the statement.
  const std::string second = code.size() > 1 ? code.substr(1, 1) : std::string();
  switch (code[0]) {
    case 'b': return "BLOB SUB_TYPE " + second;
    case 'd': return "DATE";
    case 'e': return "TIME";
    case 'f': return "FLOAT";
    case 'g': return "BIGINT";
    case 'i': return "INTEGER";
    case 'm': return "NUMERIC(12," + second + ")";
    case 'n': return "NUMERIC(8," + second + ")";
    case 'p': return "TIMESTAMP";
    case 's': return "SMALLINT";
    case 't': return "VARCHAR(" + code.substr(1) + ")";
    case 'z': return "NUMERIC(18," + second + ")";
    default: return code;
  }
}

}  // namespace kv
