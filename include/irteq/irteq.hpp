#pragma once

// irteq: IRT true score and observed score equating of a new form X to an old form Y.
#include "irteq/convert.hpp"
#include "irteq/covariance.hpp"
#include "irteq/equate.hpp"
#include "irteq/error.hpp"
#include "irteq/files.hpp"
#include "irteq/input.hpp"
#include "irteq/limits.hpp"
#include "irteq/linking.hpp"
#include "irteq/models.hpp"
#include "irteq/result.hpp"
#include "irteq/run.hpp"
#include "irteq/run_record.hpp"
#include "irteq/standard_errors.hpp"
#include "irteq/tables.hpp"
#include "irteq/validate.hpp"
#include "irteq/version.hpp"
