#' Write input files for the console program
#'
#' Write an item set, a quadrature grid, a raw-to-scale table, a covariance
#' of a form's estimates, a common-item file or a control file in the formats
#' the `irteq` console program (and [read_items()] and its siblings) read. Numbers are written in the shortest form that reads back to
#' the same double, so the files give the very results the objects give:
#' `equate_files()` on written files equals `equate()` on the objects.
#' Item parameter files hold numbers only: items' labels are not written
#' (their linking by label is kept in a common-item file, which
#' `write_common_items()` writes with labels quoted).
#'
#' What they write is checked first, as [equate()] checks its inputs, with
#' the same messages; values that no file can hold (`Inf`, `NaN`) are refused
#' too. So a file that irteq could not read back is never written: a bad
#' argument raises an `irteq_error_invalid_input` (or
#' `irteq_error_limit_exceeded`, ...), and only a file that cannot be written
#' raises an `irteq_error_file_error` (see [irteq_error]).
#'
#' @param items An item set, as [items()] or [read_items()] return.
#' @param grid A quadrature grid: a data frame with the columns `theta` and
#'   `weight`, as [normal_grid()] or [read_grid()] return.
#' @param scale A raw-to-scale table, as [read_scale_table()] returns.
#' @param covariance The covariance of a form's estimates, as
#'   [read_covariance()] returns it for `items` (see [parameter_names()]):
#'   written row by row, each row on its line.
#' @param w2 The weight of group 2 in the synthetic population.
#' @param files A named character vector (or list) of the six file names, names
#'   `output`, `old_para`, `old_quad`, `raw2scale`, `new_para` and `new_quad`,
#'   and optionally `common_items`, a common-item file, `new_cov` and
#'   `old_cov`, form X's and form Y's covariance files, and `cut_scores`, a
#'   cut-score file (each written as its record unless `""`, as
#'   [read_control()] gives it when there is none).
#'   Relative names are taken relative to the control file's folder.
#' @param common The common items, as [link()] takes them: a data frame with
#'   the columns `x_item` and `y_item` (or a two-column matrix).
#' @param method,symmetric The linking method applied and whether its
#'   characteristic-curve criterion is symmetric, as [link()] takes them.
#' @param screen,cut The anchor screening, as [link()] takes it: with a
#'   statistic other than `"none"`, the file's `screen` line.
#' @param path The file to write (overwritten).
#' @param title The file's title line.
#' @return `path`, invisibly.
#' @examples
#' folder <- tempfile("irteq")
#' dir.create(folder)
#' write_items(items(c("L3", "SN"), list(0:1, 0:2), list(c(1.7, 1, 0, 0.2), c(1, -0.5, 0.5))),
#'             file.path(folder, "formx.par"))
#' write_items(items(c("L3", "L3"), list(0:1, 0:1), list(c(1.7, 1, -1, 0.2), c(1.7, 1, 1, 0.2))),
#'             file.path(folder, "formy.par"))
#' write_grid(normal_grid(0.1), file.path(folder, "group1.qd"))
#' write_grid(normal_grid(0), file.path(folder, "group2.qd"))
#' write_scale_table(list(table = data.frame(raw = 0:2, scale = c(100, 110, 120),
#'                                           rounded = c(100, 110, 120)),
#'                        scale_min = 100, scale_max = 120, w2 = 0.5),
#'                   file.path(folder, "formy.scl"))
#' control <- write_control(c(output = "report.txt", old_para = "formy.par",
#'                            old_quad = "group2.qd", raw2scale = "formy.scl",
#'                            new_para = "formx.par", new_quad = "group1.qd"),
#'                          file.path(folder, "control.txt"))
#' equate_files(control)
#'
#' # A covariance that reads back to the same doubles.
#' form <- read_items(file.path(folder, "formx.par"))
#' v <- diag(0.002, length(parameter_names(form, estimated = TRUE)))
#' write_covariance(v, form, file.path(folder, "formx.cov"))
#' identical(unname(read_covariance(file.path(folder, "formx.cov"), form)), v)
#' @name write_items
#' @export
write_items <- function(items, path, title = "item parameters") {
  call <- sys.call()
  path <- check_path(path, "path", call)
  x <- as_items(items, "items", call)
  core_value(.validate_items(x, "items"), call)
  parameters <- vapply(x$parameters, function(p) paste(.number_text(p), collapse = " "), "")
  scores <- vapply(x$scores, paste, "", collapse = " ")
  header <- paste(x$item, x$type, lengths(x$scores))
  write_lines(c(paste0(" ", title_line(title, call)), rbind(header, scores, parameters)), path, call)
}

#' @rdname write_items
#' @export
write_grid <- function(grid, path, title = "quadrature points") {
  call <- sys.call()
  path <- check_path(path, "path", call)
  g <- as_grid(grid, "grid", call, finite = TRUE)
  core_value(.validate_grid(g, "grid"), call)
  write_lines(c(title_line(title, call), paste(.number_text(g$theta), .number_text(g$weight))), path, call)
}

#' @rdname write_items
#' @export
write_scale_table <- function(scale, path, title = "raw-to-scale conversion", w2 = scale$w2) {
  call <- sys.call()
  path <- check_path(path, "path", call)
  s <- as_scale(scale, "scale", call, finite = TRUE)
  w2 <- as_doubles(as_number(w2, "w2", call), "w2", call, finite = TRUE)
  core_value(.validate_scale_table(s, w2, "scale"), call)
  rows <- paste(.number_text(s$raw), .number_text(s$scale), .number_text(s$rounded))
  write_lines(c(title_line(title, call), paste(s$scale_min, s$scale_max, .number_text(w2)), rows), path, call)
}

#' @rdname write_items
#' @export
write_covariance <- function(covariance, items, path, title = "covariance of the item parameter estimates") {
  call <- sys.call()
  path <- check_path(path, "path", call)
  x <- as_items(items, "items", call)
  v <- as_covariance(covariance, "covariance", "items", call)
  if (is.null(v)) abort("covariance must be a numeric matrix, not NULL", call)
  text <- core_value(.covariance_text(v, x, "covariance", title_line(title, call)), call)
  write_lines(sub("\n$", "", text), path, call)
}

#' @rdname write_items
#' @export
write_common_items <- function(common, path, method = "stocking-lord", symmetric = FALSE, title = "common items",
                               screen = c("none", "robust-z", "rmsd", "wald"), cut = NULL) {
  call <- sys.call()
  path <- check_path(path, "path", call)
  pairs <- as_pairs(common, "common", call)
  symmetric <- check_flag(symmetric, "symmetric", call)
  method <- check_method(method, call)
  screening <- check_screening(screen, cut, call)
  method_line <- paste0(method, if (symmetric) " symmetric")
  screen_line <- if (!is.null(screening$cut)) {
    paste("screen", screening$screen, .number_text(as_doubles(screening$cut, "cut", call, finite = TRUE)))
  }
  write_lines(c(title_line(title, call), method_line, screen_line, paste(pair_text(pairs$x_item, pairs$x_label), pair_text(pairs$y_item, pairs$y_label))), path, call)
}

# A pair's item as the common-item file names it: its number, or its label quoted.
pair_text <- function(number, label) {
  ifelse(nzchar(label), paste0("'", gsub("'", "''", label, fixed = TRUE), "'"), as.character(number))
}

#' @rdname write_items
#' @export
write_control <- function(files, path) {
  call <- sys.call()
  path <- check_path(path, "path", call)
  keywords <- c("output", "old_para", "old_quad", "raw2scale", "new_para", "new_quad")
  if (!(is.character(files) || is.list(files)) || is.null(names(files))) {
    abort("files must be a named character vector of the six file names", call)
  }
  missing <- setdiff(keywords, names(files))
  if (length(missing) > 0L) abort(paste("files lacks", paste(missing, collapse = ", ")), call)
  for (optional in c("common_items", "new_cov", "old_cov", "cut_scores")) {
    if (optional %in% names(files) && !identical(unname(files[[optional]]), "")) keywords <- c(keywords, optional)
  }
  names <- vapply(keywords, function(k) check_path(files[[k]], sprintf("files[[\"%s\"]]", k), call), "")
  # Quoted, with doubled quotes inside: names may hold blanks, commas or slashes.
  write_lines(sprintf("%-9s \"%s\"", keywords, gsub("\"", "\"\"", names, fixed = TRUE)), path, call)
}

title_line <- function(title, call) {
  if (!is.character(title) || length(title) != 1L || is.na(title)) {
    abort("title must be one line of text", call)
  }
  gsub("[\r\n]", " ", title)
}

write_lines <- function(lines, path, call) {
  problem <- tryCatch({
    writeLines(lines, path, useBytes = TRUE)
    NULL
  }, warning = conditionMessage, error = conditionMessage)
  if (!is.null(problem)) abort(sprintf("cannot write %s: %s", path, problem), call, code = "file_error")
  invisible(path)
}
