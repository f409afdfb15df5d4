# Conditions, and the unpacking of what the C++ glue returns:
# list(value, warnings, error), so that R alone raises conditions.

irteq_error <- function(message, call = NULL, code = "invalid_input", input = "", source = "",
                        line = 0L, item = 0L, row = 0L, score_point = 0L) {
  structure(
    class = c("irteq_error", "error", "condition"),
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
