#pragma once

#include "irteq/files.hpp"

namespace irteq {

// Two empty lines, the title, one empty line: how a report section or table starts.
void write_heading(const LineSink& line, std::string_view title);

// The report's linking section: every method's constants, the one applied
// and the anchors' fit. It stands between the echo and the results.
void write_linking_section(const LinkingResult& linking, const LineSink& line);

// The report's standard-error section, after its results: the routes run
// and their inputs, the linking constants' standard errors when the run
// links, and one table per equating method and metric of every form X score
// point's standard errors.
void write_standard_errors_section(const RunResult& result, const RunOptions& options, const LineSink& line);

// The report's technical tables, last: conversion with reported scores and
// levels, summed-score EAP, conditional standard errors of measurement,
// reliability and, with cut scores, classification accuracy and consistency.
void write_tables_section(const RunResult& result, const LineSink& line);

}  // namespace irteq
