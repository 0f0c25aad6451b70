// External data sources over the ODBC driver manager (unixODBC). Data
// sources come from the driver manager's ini files (ODBCSYSINI, ODBCINI).
#pragma once

#include "dbfunc/external_source.h"

namespace torv::dbfunc {

/// Every handle is freed by the object that allocated it, on every path.
class OdbcSources : public ExternalSources {
public:
    Result<std::vector<std::string>> dataSources() override;
    Result<std::unique_ptr<Connection>> connect(const std::string& dataSource) override;
};

}  // namespace torv::dbfunc
