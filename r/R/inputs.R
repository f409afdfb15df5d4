#' Read the console program's input files
#'
#' The readers of the `irteq` console program: the same free-format rules, the
#' same checks and the same messages, naming the file and line. A file that
#' cannot be used raises an error of class `irteq_error`; what the console
#' program prints as a warning (numbers left after a read, a raw-to-scale row
#' that does not match its score point, ...) becomes an R warning of class
#' `irteq_warning`, or with `strict = TRUE` an error (see [irteq_error]).
#' The formats are described in the irteq documentation
#' (`docs/input-formats.md`). A common-item file holds a title line, the
#' linking method (`mean-mean`, `mean-sigma`, `haebara` or `stocking-lord`,
#' the last two optionally followed by `symmetric`), optionally a screening
#' line, `screen STATISTIC CUT` (`screen robust-z 2.7`; see [link()]), then
#' one pair of item numbers per read: form X's, form Y's.
#'
#' @param path The file's name.
#' @param strict `TRUE` to make every warning an error of class
#'   `irteq_error_input_warning` (see [equate_files()]).
#' @return
#' * `read_items()`: an item set, a data frame with one row per item and the
#'   columns `item` (the item number as written), `label` (the item's label,
#'   `""`: irteq's item files hold none), `type` (the type code as
#'   written: `"L3"`, `"SN"`, `"SL"`, `"BN"` or `"MU"`), `categories` (the
#'   number of categories), and the list columns `scores` (the category scores,
#'   integer) and `parameters` (in the file's order and meaning, see [items()]).
#' * `read_grid()`: a data frame with the columns `theta` and `weight`, one
#'   row per quadrature point, the weights as written.
#' * `read_scale_table()`: a list with `table` (a data frame with the columns
#'   `raw`, `scale` and `rounded`, one row per form Y raw score point, lowest
#'   first), `scale_min` and `scale_max` (the lowest and highest reportable scale
#'   scores) and `w2` (the weight of group 2 in the synthetic population).
#' * `read_control()`: a named character vector of the six file names, names
#'   `output`, `old_para`, `old_quad`, `raw2scale`, `new_para` and `new_quad`,
#'   and `common_items`, `new_cov`, `old_cov` and `cut_scores`, the
#'   common-item file, form X's and form Y's covariance files and the
#'   cut-score file their records name (`""` when there is none), each
#'   relative name resolved against the control file's folder.
#' * `read_common_items()`: a list with `method` (the linking method applied:
#'   `"mean-mean"`, `"mean-sigma"`, `"haebara"` or `"stocking-lord"`),
#'   `symmetric` (`TRUE` when the method is followed by `symmetric`),
#'   `screen` and `cut` (the screening line's statistic and cut; `"none"` and
#'   `NULL` without one) and `pairs`, a data frame of the common items,
#'   `x_item` and `y_item`, their numbers in form X's and form Y's item files
#'   (`NA` where the file names the item by label), and `x_label` and
#'   `y_label`, the labels the file names them by (`""` where it gives a
#'   number), as [link()] takes them.
#' @seealso [equate_files()] reads and equates in one step; [write_items()]
#'   and its siblings write these files.
#' @examples
#' folder <- system.file("examples", "spring-grade7", package = "irteq")
#' x_items <- read_items(file.path(folder, "formx.par"))
#' head(x_items)
#' table(x_items$type)
#' head(read_grid(file.path(folder, "group1.qd")))
#' str(read_scale_table(file.path(folder, "formy.scl")), max.level = 1)
#' read_control(file.path(folder, "control.txt"))
#'
#' common <- tempfile(fileext = ".txt")
#' writeLines(c("Spring grade 7 anchor set", "haebara symmetric", "screen robust-z 2.7", "3 1", "7 4",
#'              "12 9"), common)
#' read_common_items(common)
#' @name read_items
#' @export
read_items <- function(path, strict = FALSE) {
  call <- sys.call()
  strict <- check_flag(strict, "strict", call)
  new_items(core_value(.read_items(check_path(path, "path", call), strict), call))
}

#' @rdname read_items
#' @export
read_grid <- function(path, strict = FALSE) {
  call <- sys.call()
  strict <- check_flag(strict, "strict", call)
  new_df(core_value(.read_grid(check_path(path, "path", call), strict), call))
}

#' @rdname read_items
#' @export
read_scale_table <- function(path, strict = FALSE) {
  call <- sys.call()
  strict <- check_flag(strict, "strict", call)
  v <- core_value(.read_scale_table(check_path(path, "path", call), strict), call)
  list(table = new_df(v[c("raw", "scale", "rounded")]), scale_min = v$scale_min,
       scale_max = v$scale_max, w2 = v$w2)
}

#' @rdname read_items
#' @export
read_common_items <- function(path, strict = FALSE) {
  call <- sys.call()
  strict <- check_flag(strict, "strict", call)
  v <- core_value(.read_common_items(check_path(path, "path", call), strict), call)
  list(method = v$method, symmetric = v$symmetric, screen = v$screen, cut = v$cut, pairs = new_df(v$pairs))
}

#' @rdname read_items
#' @export
read_control <- function(path) {
  call <- sys.call()
  core_value(.read_control(check_path(path, "path", call)), call)
}

new_items <- function(x) {
  new_df(list(item = x$item, label = x$label, type = x$type, categories = lengths(x$scores), scores = x$scores,
              parameters = x$parameters))
}

#' Build an item set in memory
#'
#' An item set of the shape [read_items()] gives, checked as [equate()]
#' checks a form's items, with the same messages.
#'
#' The parameters of each item, in the order and meaning of an item parameter
#' file, for an item of `m` categories:
#'
#' | Type | Model | Parameters |
#' |---|---|---|
#' | `"L3"` | three-parameter logistic (2 categories) | D, a, b, c |
#' | `"SN"` | graded response, normal ogive | a, b(1), ..., b(m-1) |
#' | `"SL"` | graded response, logistic | D, a, b(1), ..., b(m-1) |
#' | `"BN"` | nominal response | D, a(1), ..., a(m), c(1), ..., c(m) |
#' | `"MU"` | generalized partial credit | D, a, b, d(1), ..., d(m) |
#'
#' D is the scaling constant (1.7 or 1 for most uses).
#'
#' @param type The item type codes, one per item: `"L3"`, `"SN"`, `"SL"`,
#'   `"BN"` or `"MU"`.
#' @param scores A list with one vector of category scores per item (whole
#'   numbers, the first the lowest and the last the highest).
#' @param parameters A list with one numeric vector of parameters per item,
#'   as in the table.
#' @param item The item numbers (messages name items by number and position).
#' @param label The items' labels, the names a calibration program gave them
#'   (`"R05001"`): character, `""` or `NA` for an item without one. Messages
#'   name an item's label beside its number, and [link()] can name common
#'   items by label.
#' @return A data frame with the columns `item`, `label` (`""` where an item
#'   has none), `type`, `categories`, `scores` and `parameters`, as
#'   [read_items()] returns.
#' @examples
#' form <- items(
#'   type = c("L3", "L3", "SN", "MU"),
#'   scores = list(0:1, 0:1, 0:2, 0:3),
#'   parameters = list(c(1.7, 1.1, -0.5, 0.2), c(1.7, 0.8, 0.4, 0.15),
#'                     c(0.9, -1, 0.5), c(1.7, 0.7, 0.2, 0, 0.5, 0, -0.5))
#' )
#' form
#' # Refused with the core's message: c must lie between 0 and 1.
#' try(items("L3", list(0:1), list(c(1.7, 1, 0, 1.5))))
#' @export
items <- function(type, scores, parameters, item = seq_along(type), label = NULL) {
  call <- sys.call()
  x <- as_items(list(item = item, label = label, type = type, scores = scores, parameters = parameters), "items",
                call)
  core_value(.validate_items(x, "items"), call)
  new_items(x)
}

#' A normal quadrature grid
#'
#' Equally spaced abilities with weights proportional to the normal density,
#' for a group whose ability distribution is taken as normal.
#'
#' @param mean,sd The mean and standard deviation of the group's ability
#'   distribution.
#' @param points The number of quadrature points, 2 to 100.
#' @param range The lowest and highest quadrature point, on the ability scale
#'   itself (not in standard deviations): the points run from `range[1]` to
#'   `range[2]` in equal steps whatever `mean` and `sd` are, so that two groups
#'   may share one set of points.
#' @return A data frame with the columns `theta` and `weight`, as
#'   [read_grid()] returns: the points from `range[1]` to `range[2]` as
#'   `seq(range[1], range[2], length.out = points)` gives them, and the weights
#'   exp(-z^2/2), z = (theta - mean) / sd, divided by their sum, so they sum to
#'   1 (the normal densities at the points, whose constant cancels). The
#'   library computes it, so that the console's, R's and Python's grids are the
#'   same to the last bit.
#' @examples
#' grid <- normal_grid(mean = 0.1, sd = 1.1)
#' head(grid)
#' sum(grid$weight)
#' @export
normal_grid <- function(mean = 0, sd = 1, points = 41, range = c(-4, 4)) {
  call <- sys.call()
  mean <- as_number(mean, "mean", call)
  sd <- as_number(sd, "sd", call)
  points <- as_number(points, "points", call, whole = TRUE)
  range <- as_doubles(range, "range", call, finite = TRUE)
  if (length(range) != 2L) abort("range must be two numbers, the lowest point first", call)
  new_df(core_value(.normal_grid(mean, sd, points, range[1L], range[2L]), call))
}
