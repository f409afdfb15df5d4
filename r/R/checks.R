# Shapes and types are checked here, before C++ sees anything: NA, NaN, wrong
# types and ragged columns get an irteq_error naming the argument as the
# caller wrote it. The values' meaning (categories, parameters, weights) is the
# core's to check.

type_name <- function(x) if (is.null(x)) "NULL" else class(x)[1L]

check_path <- function(path, what, call) {
  if (!is.character(path) || length(path) != 1L || is.na(path) || !nzchar(path)) {
    abort(sprintf("%s must be one file name, not %s", what, describe(path)), call)
  }
  enc2native(path.expand(path))
}

check_flag <- function(x, what, call) {
  if (!is.logical(x) || length(x) != 1L || is.na(x)) {
    abort(sprintf("%s must be TRUE or FALSE, not %s", what, describe(x)), call)
  }
  x
}

# An irteq_error naming the first argument the caller left out (a named logical of missing()).
check_given <- function(missing, call) {
  if (any(missing)) abort(sprintf("argument %s is missing, with no default", names(missing)[missing][1L]), call)
}

check_threads <- function(x, call) {
  if (!is.numeric(x) || length(x) != 1L || is.na(x) || x < 1 || x != trunc(x) || x > .Machine$integer.max) {
    abort(sprintf("threads must be a positive whole number, not %s",
                  if (is.numeric(x) && length(x) == 1L) format(x) else describe(x)), call)
  }
  as.integer(x)
}

describe <- function(x) {
  if (is.null(x)) return("NULL")
  if (is.character(x) && length(x) == 1L) return(if (is.na(x)) "NA" else sprintf("'%s'", x))
  sprintf("%s of length %d", type_name(x), length(x))
}

# "w2", "x_grid$theta[3]": element i of what, as the caller would index it.
element <- function(what, i, n) if (n == 1L) what else sprintf("%s[%d]", what, i)

# What is wrong with the first value that is not a number (NA or NaN), not
# finite, not whole or beyond R's integers; NULL when all pass. name(i) names value i.
value_problem <- function(x, name, finite = FALSE, whole = FALSE) {
  bad <- if (finite || whole) !is.finite(x) else is.na(x)
  if (whole) bad <- bad | abs(x) > .Machine$integer.max | x != trunc(x)
  i <- which(bad)[1L]
  if (is.na(i)) return(NULL)
  v <- x[[i]]
  shown <- if (is.nan(v)) "NaN" else if (is.na(v)) "NA" else format(v, digits = 15)
  sprintf("%s is %s, %s", name(i), shown,
          if (is.na(v)) "not a number" else if (!is.finite(v)) "not a finite number"
          else if (abs(v) > .Machine$integer.max) "out of range: whole numbers here lie within +-2147483647"
          else "not a whole number")
}

as_doubles <- function(x, what, call, finite = FALSE) {
  if (!is.numeric(x)) abort(sprintf("%s must be numeric, not %s", what, type_name(x)), call)
  problem <- value_problem(x, function(i) element(what, i, length(x)), finite)
  if (!is.null(problem)) abort(problem, call)
  as.double(x)
}

as_integers <- function(x, what, call) {
  if (!is.numeric(x)) abort(sprintf("%s must be numeric, not %s", what, type_name(x)), call)
  problem <- value_problem(x, function(i) element(what, i, length(x)), whole = TRUE)
  if (!is.null(problem)) abort(problem, call)
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

# An item set: list(item, label, type, scores, parameters) in the types the
# glue takes; label "" where an item has none (NA or no label column).
as_items <- function(x, what, call) {
  if (is.list(x) && is.null(x[["item"]]) && !is.null(x[["type"]])) x[["item"]] <- seq_along(x[["type"]])
  has_columns(x, c("item", "type", "scores", "parameters"), what, call)
  if (!is.character(x[["type"]]) || anyNA(x[["type"]])) {
    abort(sprintf("%s$type must be item type codes (character, no NA), not %s", what, type_name(x[["type"]])), call)
  }
  for (column in c("scores", "parameters")) {
    if (!is.list(x[[column]]) || !all(vapply(x[[column]], is.numeric, NA))) {
      i <- if (is.list(x[[column]])) which(!vapply(x[[column]], is.numeric, NA))[1L] else 0L
      abort(sprintf("%s must be %s, not %s", if (i > 0L) sprintf("%s$%s[[%d]]", what, column, i) else
                      sprintf("%s$%s", what, column),
                    if (i > 0L) "numeric" else "a list of one numeric vector per item",
                    type_name(if (i > 0L) x[[column]][[i]] else x[[column]])), call)
    }
  }
  number <- as_integers(x[["item"]], sprintf("%s$item", what), call)
  labels <- as_labels(x[["label"]], length(number), what, call)
  type <- as.character(x[["type"]])
  scores <- x[["scores"]]
  parameters <- x[["parameters"]]
  m <- lengths(scores)
  label <- function(i) {
    sprintf("%s: item %d (number %d%s, %s, %d %s)", what, i, number[i],
            if (nzchar(labels[i])) paste0(", label ", labels[i]) else "", type[i], m[i],
            if (m[i] == 1L) "category" else "categories")
  }
  # All at once; item by item only to name the first bad value.
  if (!all_fine(scores, whole = TRUE) || !all_fine(parameters)) {
    for (i in seq_along(scores)) {
      problem <- value_problem(scores[[i]], function(k) sprintf("the score of category %d", k), whole = TRUE)
      if (is.null(problem)) {
        problem <- value_problem(parameters[[i]], function(k) parameter_name(type[i], m[i], k), finite = TRUE)
      }
      if (!is.null(problem)) abort(paste0(label(i), ": ", problem), call, item = i)
    }
  }
  if (!is.null(x[["categories"]])) {
    categories <- as_integers(x[["categories"]], sprintf("%s$categories", what), call)
    bad <- which(categories != m)[1L]
    if (!is.na(bad)) {
      abort(sprintf("%s: item %d has %d categories but %d category scores", what, bad, categories[bad], m[bad]),
            call, item = bad)
    }
  }
  list(item = number, label = labels, type = type, scores = converted(scores, is.integer, as.integer),
       parameters = converted(parameters, is.double, as.double))
}

# Item labels: character, "" or NA for an item without one; none at all when NULL.
as_labels <- function(x, n, what, call) {
  if (is.null(x)) return(rep("", n))
  if (is.factor(x)) x <- as.character(x)
  if (!is.character(x) && !all(is.na(x))) {
    abort(sprintf("%s$label must be item labels (character, \"\" or NA for none), not %s", what, type_name(x)), call)
  }
  if (length(x) != n) abort(sprintf("%s$label has %d values for %d items", what, length(x), n), call)
  x <- as.character(x)
  x[is.na(x)] <- ""
  unname(x)
}

all_fine <- function(x, whole = FALSE) {
  values <- unlist(x, use.names = FALSE)
  if (is.null(values)) return(TRUE)
  all(is.finite(values)) && (!whole || all(abs(values) <= .Machine$integer.max & values == trunc(values)))
}

converted <- function(x, is_wanted, convert) {
  if (all(vapply(x, is_wanted, NA))) unname(x) else lapply(x, convert)
}

# Parameter k of an item, by its name in an item parameter file ("b", "c",
# "d(2)", the library's names), or by its place for an unknown type.
parameter_name <- function(type, m, k) {
  names <- .parameter_names(list(item = 1L, type = type, scores = list(seq_len(m))), "items", FALSE)$value
  if (!is.null(names) && k <= length(names[[1L]])) sprintf("parameter %s", names[[1L]][k]) else
    sprintf("parameter %d", k)
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
