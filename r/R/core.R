# Conditions, and the unpacking of what the C++ glue returns:
# list(value, warnings, error), so that R alone raises conditions.

#' Conditions raised by irteq
#'
#' Every error irteq raises is a condition of class `irteq_error`, and also of
#' a class that names its kind, `irteq_error_` and its code, so that a handler
#' can catch one kind of failure and let the others through. Warnings are
#' conditions of class `irteq_warning`.
#'
#' @details
#' The classes of errors:
#'
#' | Class | Raised for |
#' |---|---|
#' | `irteq_error_file_error` | a file that cannot be opened, read or written |
#' | `irteq_error_syntax_error` | text that is not the value expected, a decimal comma, a file that ends too soon |
#' | `irteq_error_limit_exceeded` | more items, categories, quadrature points or score points than a run allows |
#' | `irteq_error_invalid_input` | a value the models cannot use, or an argument of the wrong type or shape |
#' | `irteq_error_unknown_item_type` | an item type code other than `"L3"`, `"SN"`, `"SL"`, `"BN"` and `"MU"` |
#' | `irteq_error_control_file` | a control file that does not name the six files properly |
#' | `irteq_error_not_finite` | results that are not finite numbers |
#' | `irteq_error_input_warning` | a warning of the readers, made an error by `strict = TRUE` |
#' | `irteq_error_linking_failed` | a characteristic-curve linking that found no minimum, or found A <= 0 |
#' | `irteq_error_interrupted` | parametric draws stopped by the user (Ctrl-C, Esc) |
#' | `irteq_error_internal_error` | a failure inside irteq itself (out of memory, a bug) |
#'
#' Besides `message` and `call`, an `irteq_error` holds `code` (the class's
#' suffix: `"file_error"`, ...), `input` (which input: `"items_x"`,
#' `"items_y"`, `"grid_group1"`, `"grid_group2"`, `"scale_table"`,
#' `"control_file"`, `"common_items"`, `"cut_scores"`; `""` when not known), `source` (the file,
#' or the argument the input came from), and `line`, `item`, `row` (a quadrature point, a scale
#' table row, a pair of common items or a cut score) and `score_point` (counted from 1; 0 where
#' not applicable).
#'
#' The warnings are the readers' warnings of suspicious lines (which go on
#' reading), and the failed root searches of true score equating, which are
#' also of class `irteq_root_finder_warning`.
#'
#' @name irteq_error
#' @aliases irteq_warning irteq_conditions
#' @examples
#' bad <- items("L3", list(0:1), list(c(1.7, 1, 0, 0.2)))
#' bad$parameters[[1]][4] <- 1.5
#' e <- tryCatch(equate(bad, bad, normal_grid(), normal_grid(),
#'                      list(table = data.frame(raw = 0:1, scale = 0:1, rounded = 0:1),
#'                           scale_min = 0, scale_max = 1, w2 = 0.5)),
#'               irteq_error_invalid_input = identity)
#' class(e)
#' conditionMessage(e)
#' e$item
NULL

irteq_error <- function(message, call = NULL, code = "invalid_input", input = "", source = "",
                        line = 0L, item = 0L, row = 0L, score_point = 0L) {
  structure(
    class = c(paste0("irteq_error_", code), "irteq_error", "error", "condition"),
    list(message = message, call = call, code = code, input = input, source = source,
         line = as.integer(line), item = as.integer(item), row = as.integer(row),
         score_point = as.integer(score_point))
  )
}

abort <- function(message, call, ...) stop(irteq_error(message, call, ...))

irteq_warning <- function(message, call = NULL, class = character()) {
  structure(class = c(class, "irteq_warning", "warning", "condition"),
            list(message = message, call = call))
}

core_value <- function(result, call) {
  for (w in result$warnings) warning(irteq_warning(w, call))
  e <- result$error
  if (!is.null(e)) {
    abort(e$message, call, code = e$code, input = e$input, source = e$source, line = e$line,
          item = e$item, row = e$row, score_point = e$score_point)
  }
  result$value
}

# A data frame from equal-length columns, without data.frame()'s conversions.
new_df <- function(columns) {
  structure(columns, class = "data.frame", row.names = .set_row_names(length(columns[[1L]])))
}
