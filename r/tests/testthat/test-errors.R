# Every kind of bad input from memory is an irteq_error with a message that
# says what is wrong, whether R's checks or the core's catch it.
good <- list(
  x_items = list(type = c("L3", "SN"), scores = list(0:1, 0:2), parameters = list(c(1.7, 1, 0, 0.2), c(1, -1, 1))),
  y_items = list(type = c("L3", "MU"), scores = list(0:1, 0:2), parameters = list(c(1.7, 1, 0, 0.2), c(1.7, 1, 0, 0, 0.5, -0.5))),
  x_grid = list(theta = c(-1, 0, 1), weight = c(1, 2, 1)),
  y_grid = list(theta = c(-1, 0, 1), weight = c(1, 2, 1)),
  scale = list(table = data.frame(raw = 0:3, scale = c(10, 20, 30, 40), rounded = c(10, 20, 30, 40)),
               scale_min = 10, scale_max = 40, w2 = 0.5)
)
# x with the elements named in values replaced (by NULL too), unlike modifyList().
set <- function(x, values) {
  for (name in names(values)) x[name] <- list(values[[name]])
  x
}
with_change <- function(what, value) set(good, stats::setNames(list(value), what))

# Rows of (arguments of equate(), the condition's class, a pattern of its message).
test_that("bad input from memory is an irteq_error of its kind, naming the argument and the problem", {
  x <- good$x_items
  y <- good$y_items
  items_x <- function(...) with_change("x_items", set(x, list(...)))
  invalid <- "irteq_error_invalid_input"
  cases <- list(
    list(with_change("x_items", "L3"), invalid, "x_items must be a data frame or list, not character"),
    list(with_change("x_items", x[-2]), invalid, "x_items lacks the column scores"),
    list(items_x(type = c("L3", NA)), invalid, "x_items\\$type must be item type codes"),
    list(items_x(scores = list(0:1)), invalid, "must have one value each per row"),
    list(items_x(scores = c(0, 1)), invalid, "x_items\\$scores must be a list"),
    list(items_x(scores = list(0:1, c(0, NA, 2))), invalid,
         "^x_items: item 2 \\(number 2, SN, 3 categories\\): the score of category 2 is NA, not a number$"),
    list(items_x(scores = list(0:1, c(0, 0.5, 2))), invalid, "the score of category 2 is 0.5, not a whole number"),
    list(items_x(scores = list(0:1, c(0, 1, 3e9))), invalid, "the score of category 3 is 3e\\+09, out of range"),
    list(items_x(parameters = list(c(1.7, 1, 0, 0.2), "a")), invalid,
         "x_items\\$parameters\\[\\[2\\]\\] must be numeric"),
    list(items_x(parameters = list(c(1.7, 1, 0, 0.2), c(1, -1, NaN))), invalid,
         "^x_items: item 2 \\(number 2, SN, 3 categories\\): parameter b\\(2\\) is NaN, not a number$"),
    list(items_x(parameters = list(c(1.7, 1, 0, Inf), c(1, -1, 1))), invalid,
         "item 1 .*: parameter c is Inf, not a finite"),
    list(with_change("y_items", set(y, list(parameters = list(c(1.7, 1, 0, 0.2), c(1.7, 1, 0, 0, NA, 0))))), invalid,
         "^y_items: item 2 \\(number 2, MU, 3 categories\\): parameter d\\(2\\) is NA"),
    list(items_x(categories = c(2L, 4L)), invalid, "item 2 has 4 categories but 3 category scores"),
    list(items_x(type = c("L3", "XX")), "irteq_error_unknown_item_type",
         "^x_items: item 2 \\(number 2, XX, 3 categories\\): unknown item type code 'XX'"),
    list(items_x(parameters = list(c(1.7, 1, 0, 1.5), c(1, -1, 1))), invalid,
         "^x_items: item 1 .*: the lower asymptote c = 1.5 must lie between 0 and 1"),
    list(items_x(parameters = list(c(1.7, 1, 0, 0.2), c(1, 1, -1))), invalid,
         "thresholds b\\(1\\) = 1 and b\\(2\\) = -1"),
    list(items_x(parameters = list(c(1.7, 1, 0, 0.2), c(1, 1))), invalid, "take 3 parameter values, not 2"),
    list(items_x(scores = list(0:1, c(2, 0, 1))), invalid, "the first category score must be the lowest"),
    list(with_change("x_items", lapply(x, function(column) column[0])), invalid, "^x_items: the form holds no items"),
    list(with_change("x_items", lapply(x, function(column) rep(column[1], 201))), "irteq_error_limit_exceeded",
         "more than 200 items"),
    list(with_change("y_grid", list(theta = 0:1, weight = 1)), invalid,
         "y_grid: the columns theta, weight must have one value each per row"),
    list(with_change("y_grid", list(theta = c(0, 1), weight = c(1, -0.5))), invalid,
         "^y_grid: point 2: the quadrature weight -0.5 is negative"),
    list(with_change("x_grid", list(theta = c(0, 1), weight = c(0, 0))), invalid,
         "^x_grid: the quadrature weights add up to 0"),
    list(with_change("x_grid", list(theta = c(0, NaN), weight = c(1, 1))), invalid,
         "^x_grid\\$theta\\[2\\] is NaN, not a number$"),
    list(with_change("x_grid", list(theta = seq(-4, 4, length.out = 101), weight = rep(1, 101))),
         "irteq_error_limit_exceeded", "more than 100 quadrature points"),
    list(with_change("scale", good$scale$table), invalid, "scale must be a list of table"),
    list(with_change("scale", set(good$scale, list(w2 = 1.5))), invalid,
         "^scale: w2 is 1.5; the weight of group 2 must lie between 0 and 1$"),
    list(c(good, w2 = NaN), invalid, "^w2 is NaN, not a number$"),
    list(c(good, root_tolerance = 0), invalid,
         "^root_tolerance is 0; the theta tolerance of true score equating must lie above 0 and at most 1e-06$"),
    list(with_change("scale", set(good$scale, list(w2 = NULL))), invalid, "w2 must be a single number, not NULL"),
    list(with_change("scale", set(good$scale, list(scale_min = 10.5))), invalid,
         "^scale\\$scale_min is 10.5, not a whole number$"),
    list(with_change("scale", set(good$scale, list(scale_max = 2^31))), invalid,
         "scale\\$scale_max is 2147483648, out of range"),
    list(with_change("scale", set(good$scale, list(table = good$scale$table[1:3, ]))), invalid,
         "^scale has 3 rows, but form Y has 4 score points"),
    list(with_change("scale", set(good$scale, list(table = transform(good$scale$table, scale = 1e20)))), invalid,
         "^scale: row 1: the scale score 1e\\+20 is too large")
  )
  expect_s3_class(do.call(equate, good), "irteq_equating")
  for (case in cases) {
    e <- expect_error(do.call(equate, case[[1]]), case[[3]], class = case[[2]])
    expect_s3_class(e, c(paste0("irteq_error_", e$code), "irteq_error"), exact = FALSE)
  }

  e <- tryCatch(do.call(equate, items_x(parameters = list(c(1.7, 1, 0, 1.5), c(1, -1, 1)))), irteq_error = identity)
  expect_identical(e[c("code", "input", "source", "item")],
                   list(code = "invalid_input", input = "items_x", source = "x_items", item = 1L))
})

# Rows of (a call that writes to path, the condition's class, a pattern of its message): nothing is written.
test_that("the writers refuse what irteq could not read back, as argument errors", {
  path <- tempfile("written")
  scale <- good$scale
  invalid <- "irteq_error_invalid_input"
  cases <- list(
    list(quote(write_items(good$x_items, NA_character_)), invalid, "path must be one file name, not NA"),
    list(quote(write_items(set(good$x_items, list(parameters = list(c(1.7, 1, 0, 2), c(1, -1, 1)))), path)), invalid,
         "^items: item 1 .*: the lower asymptote c = 2 must lie"),
    list(quote(write_items(set(good$x_items, list(type = c("L3", "L4"))), path)), "irteq_error_unknown_item_type",
         "unknown item type code 'L4'"),
    list(quote(write_grid(list(theta = 0, weight = Inf), path)), invalid,
         "^grid\\$weight is Inf, not a finite number$"),
    list(quote(write_grid(list(theta = c(0, 1), weight = c(1, -1)), path)), invalid,
         "^grid: point 2: the quadrature weight -1 is negative"),
    list(quote(write_grid(list(theta = c(0, 1), weight = c(0, 0)), path)), invalid,
         "^grid: the quadrature weights add up to 0"),
    list(quote(write_grid(list(theta = seq(0, 1, length.out = 101), weight = rep(1, 101)), path)),
         "irteq_error_limit_exceeded", "more than 100 quadrature points"),
    list(quote(write_scale_table(scale, path, w2 = 2)), invalid, "^scale: w2 is 2; the weight of group 2 must lie"),
    list(quote(write_scale_table(set(scale, list(table = transform(scale$table, scale = c(1, 1e20, 3, 4)))), path)),
         invalid, "^scale: row 2: the scale score 1e\\+20 is too large"),
    list(quote(write_scale_table(set(scale, list(scale_min = NA)), path)), invalid,
         "scale\\$scale_min must be numeric"),
    list(quote(write_control(c(output = "a"), path)), invalid, "files lacks old_para"),
    list(quote(write_grid(good$x_grid, file.path(path, "no", "such", "folder.qd"))), "irteq_error_file_error",
         "cannot write")
  )
  for (case in cases) {
    expect_error(eval(case[[1]]), case[[3]], class = case[[2]])
    expect_false(file.exists(path))
  }
})

test_that("readers and other entry points raise irteq_errors and warnings", {
  folder <- tempfile("bad")
  dir.create(folder)
  grid <- file.path(folder, "grid.qd")
  writeLines(c("title", "0 1", "1 abc"), grid)
  expect_error(read_grid(grid), "grid.qd line 3: expected a number, found 'abc'", class = "irteq_error_syntax_error")
  writeLines(c("title", "0 1 7", "1 1"), grid)
  expect_warning(read_grid(grid), "grid.qd line 2: 1 more number after the ability and weight is ignored",
                 class = "irteq_warning")
  expect_error(read_items(file.path(folder, "none.par")), "cannot open item parameter file",
               class = "irteq_error_file_error")
  expect_error(read_control(NA_character_), "path must be one file name", class = "irteq_error_invalid_input")
  expect_error(read_grid(grid, strict = NA), "strict must be TRUE or FALSE", class = "irteq_error_invalid_input")
  expect_error(equate_files(42), "control must be one file name", class = "irteq_error")
  expect_error(items("L3", list(0:1), list(c(1.7, 1, 0, 2))), "items: item 1 .* c = 2 must lie", class = "irteq_error")
  expect_error(normal_grid(sd = 0), "sd a finite number above 0", class = "irteq_error")
})

# Each reader's warning (here a title of nothing but numbers) is an error under strict = TRUE.
test_that("strict = TRUE makes the readers' warnings errors of class irteq_error_input_warning", {
  folder <- tempfile("strict")
  dir.create(folder)
  files <- c(new_para = write_items(good$x_items, file.path(folder, "x.par"), title = "1 2 3"),
             old_para = write_items(good$y_items, file.path(folder, "y.par")),
             new_quad = write_grid(good$x_grid, file.path(folder, "g1.qd"), title = "1 2 3"),
             old_quad = write_grid(good$y_grid, file.path(folder, "g2.qd")),
             raw2scale = write_scale_table(good$scale, file.path(folder, "y.scl"), title = "1 2 3"))
  readers <- list(new_para = read_items, new_quad = read_grid, raw2scale = read_scale_table)
  for (file in names(readers)) {
    expect_warning(readers[[file]](files[[file]]), basename(files[[file]]), class = "irteq_warning")
    expect_error(readers[[file]](files[[file]], strict = TRUE), basename(files[[file]]),
                 class = "irteq_error_input_warning")
  }
  control <- write_control(c(output = "out.txt", vapply(files, basename, "")), file.path(folder, "control.txt"))
  expect_s3_class(suppressWarnings(equate_files(control)), "irteq_equating")
  expect_error(equate_files(control, strict = TRUE), class = "irteq_error_input_warning")
})
