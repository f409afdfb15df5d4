# Shapes and types are checked here, before C++ sees anything: NA, wrong
# types and ragged columns get an irteq_error naming the argument. The values'
# meaning (categories, parameters, weights) is the core's to check.

type_name <- function(x) if (is.null(x)) "NULL" else class(x)[1L]

check_path <- function(path, what, call) {
  if (!is.character(path) || length(path) != 1L || is.na(path) || !nzchar(path)) {
    abort(sprintf("%s must be one file name, not %s", what, describe(path)), call, code = "file_error")
  }
  enc2native(path.expand(path))
}

describe <- function(x) {
  if (is.null(x)) return("NULL")
  if (is.character(x) && length(x) == 1L) return(if (is.na(x)) "NA" else sprintf("'%s'", x))
  sprintf("%s of length %d", type_name(x), length(x))
}

as_doubles <- function(x, what, call, finite = FALSE) {
  if (!is.numeric(x)) abort(sprintf("%s must be numeric, not %s", what, type_name(x)), call)
  if (anyNA(x)) abort(sprintf("%s must not hold NA (value %d)", what, which(is.na(x))[1L]), call)
  if (finite && !all(is.finite(x))) {
    abort(sprintf("%s must be finite numbers (value %d is %s)", what, which(!is.finite(x))[1L],
                  format(x[!is.finite(x)][1L])), call)
  }
  as.double(x)
}

as_integers <- function(x, what, call) {
  x <- as_doubles(x, what, call)
  bad <- which(x != trunc(x) | abs(x) > .Machine$integer.max)
  if (length(bad) > 0L) {
    abort(sprintf("%s must be whole numbers (value %d is %s)", what, bad[1L], format(x[bad[1L]])), call)
  }
  as.integer(x)
}

as_number <- function(x, what, call, whole = FALSE) {
  if (length(x) != 1L) abort(sprintf("%s must be a single number, not %s", what, describe(x)), call)
  if (whole) as_integers(x, what, call) else as_doubles(x, what, call)
}

has_columns <- function(x, columns, what, call) {
  if (!is.list(x)) abort(sprintf("%s must be a data frame or list, not %s", what, type_name(x)), call)
  missing <- setdiff(columns, names(x))
  if (length(missing) > 0L) {
    abort(sprintf("%s lacks %s %s", what, if (length(missing) == 1L) "the column" else "the columns",
                  paste(missing, collapse = ", ")), call)
  }
  lengths <- vapply(x[columns], length, 1L)
  if (length(unique(lengths)) > 1L) {
    abort(sprintf("%s: the columns %s must have one value each per row, not %s", what,
                  paste(columns, collapse = ", "), paste(lengths, collapse = ", ")), call)
  }
}

# An item set: list(item, type, scores, parameters) in the types the glue takes.
as_items <- function(x, what, call) {
  if (is.list(x) && is.null(x[["item"]]) && !is.null(x[["type"]])) x[["item"]] <- seq_along(x[["type"]])
  has_columns(x, c("item", "type", "scores", "parameters"), what, call)
  if (!is.character(x[["type"]]) || anyNA(x[["type"]])) {
    abort(sprintf("%s$type must be item type codes (character, no NA), not %s", what, type_name(x[["type"]])), call)
  }
  for (column in c("scores", "parameters")) {
    if (!is.list(x[[column]])) {
      abort(sprintf("%s$%s must be a list of one numeric vector per item, not %s", what, column,
                    type_name(x[[column]])), call)
    }
  }
  scores <- numeric_list(x[["scores"]], sprintf("%s$scores", what), call, whole = TRUE)
  parameters <- numeric_list(x[["parameters"]], sprintf("%s$parameters", what), call)
  if (!is.null(x[["categories"]])) {
    categories <- as_integers(x[["categories"]], sprintf("%s$categories", what), call)
    bad <- which(categories != lengths(scores))
    if (length(bad) > 0L) {
      abort(sprintf("%s: item %d has %d categories but %d category scores", what, bad[1L],
                    categories[bad[1L]], length(scores[[bad[1L]]])), call)
    }
  }
  list(item = as_integers(x[["item"]], sprintf("%s$item", what), call), type = as.character(x[["type"]]),
       scores = scores, parameters = parameters)
}

# A list of numeric vectors as integer (whole) or double vectors. Checked all
# at once; element by element only to name the first bad one.
numeric_list <- function(x, what, call, whole = FALSE) {
  values <- unlist(x, use.names = FALSE)
  if (is.null(values)) values <- integer()
  fine <- all(vapply(x, is.numeric, NA)) && !anyNA(values) &&
    (!whole || all(values == trunc(values) & abs(values) <= .Machine$integer.max))
  convert <- if (whole) as_integers else as_doubles
  if (!fine) {
    for (i in seq_along(x)) convert(x[[i]], sprintf("%s[[%d]]", what, i), call)
  }
  wanted <- if (whole) is.integer else is.double
  if (all(vapply(x, wanted, NA))) return(unname(x))
  lapply(x, if (whole) as.integer else as.double)
}

as_grid <- function(x, what, call, finite = FALSE) {
  has_columns(x, c("theta", "weight"), what, call)
  list(theta = as_doubles(x[["theta"]], sprintf("%s$theta", what), call, finite),
       weight = as_doubles(x[["weight"]], sprintf("%s$weight", what), call, finite))
}

# A raw-to-scale table: list(table = data.frame(raw, scale, rounded), scale_min, scale_max).
as_scale <- function(x, what, call, finite = FALSE) {
  if (!is.list(x) || is.data.frame(x)) {
    abort(sprintf("%s must be a list of table, scale_min, scale_max and w2 (as read_scale_table() gives), not %s",
                  what, type_name(x)), call)
  }
  table <- sprintf("%s$table", what)
  has_columns(x[["table"]], c("raw", "scale", "rounded"), table, call)
  list(raw = as_doubles(x[["table"]][["raw"]], paste0(table, "$raw"), call, finite),
       scale = as_doubles(x[["table"]][["scale"]], paste0(table, "$scale"), call, finite),
       rounded = as_doubles(x[["table"]][["rounded"]], paste0(table, "$rounded"), call, finite),
       scale_min = as_number(x[["scale_min"]], sprintf("%s$scale_min", what), call, whole = TRUE),
       scale_max = as_number(x[["scale_max"]], sprintf("%s$scale_max", what), call, whole = TRUE))
}
