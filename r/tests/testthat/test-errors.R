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

test_that("bad input from memory is an irteq_error naming the problem", {
  x <- good$x_items
  cases <- list(
    list(with_change("x_items", "L3"), "x_items must be a data frame or list, not character"),
    list(with_change("x_items", x[-2]), "x_items lacks the column scores"),
    list(with_change("x_items", set(x, list(type = c("L3", NA)))), "x_items\\$type must be item type codes"),
    list(with_change("x_items", set(x, list(scores = list(0:1)))), "must have one value each per row"),
    list(with_change("x_items", set(x, list(scores = c(0, 1)))), "x_items\\$scores must be a list"),
    list(with_change("x_items", set(x, list(scores = list(0:1, c(0, NA, 2))))), "x_items\\$scores\\[\\[2\\]\\] must not hold NA"),
    list(with_change("x_items", set(x, list(scores = list(0:1, c(0, 0.5, 2))))), "must be whole numbers"),
    list(with_change("x_items", set(x, list(parameters = list(c(1.7, 1, 0, 0.2), "a")))), "x_items\\$parameters\\[\\[2\\]\\] must be numeric"),
    list(with_change("x_items", set(x, list(categories = c(2L, 4L)))), "item 2 has 4 categories but 3 category scores"),
    list(with_change("x_items", set(x, list(type = c("L3", "XX")))), "form X items: item 2 \\(number 2, XX, 3 categories\\): unknown item type code 'XX'"),
    list(with_change("x_items", set(x, list(parameters = list(c(1.7, 1, 0, 1.5), c(1, -1, 1))))), "the lower asymptote c = 1.5 must lie between 0 and 1"),
    list(with_change("x_items", set(x, list(parameters = list(c(1.7, 1, 0, 0.2), c(1, 1, -1))))), "thresholds b\\(1\\) = 1 and b\\(2\\) = -1"),
    list(with_change("x_items", set(x, list(parameters = list(c(1.7, 1, 0, 0.2), c(1, 1))))), "take 3 parameter values, not 2"),
    list(with_change("x_items", set(x, list(parameters = list(c(1.7, 1, 0, 0.2), c(1, -1, Inf))))), "parameter 3 is inf, not a finite number"),
    list(with_change("x_items", set(x, list(scores = list(0:1, c(2, 0, 1))))), "the first category score must be the lowest"),
    list(with_change("x_items", lapply(x, function(column) column[0])), "form X items: the form holds no items"),
    list(with_change("x_items", lapply(x, function(column) rep(column[1], 201))), "more than 200 items"),
    list(with_change("y_grid", list(theta = 0:1, weight = 1)), "y_grid: the columns theta, weight must have one value each per row"),
    list(with_change("y_grid", list(theta = c(0, 1), weight = c(1, -0.5))), "group 2 grid: point 2: the quadrature weight -0.5 is negative"),
    list(with_change("x_grid", list(theta = c(0, 1), weight = c(0, 0))), "group 1 grid: the quadrature weights add up to 0"),
    list(with_change("x_grid", list(theta = c(0, NaN), weight = c(1, 1))), "x_grid\\$theta must not hold NA"),
    list(with_change("x_grid", list(theta = seq(-4, 4, length.out = 101), weight = rep(1, 101))), "more than 100 quadrature points"),
    list(with_change("scale", good$scale$table), "scale must be a list of table"),
    list(with_change("scale", set(good$scale, list(w2 = 1.5))), "w2 is 1.5; the weight of group 2 must lie between 0 and 1"),
    list(with_change("scale", set(good$scale, list(w2 = NULL))), "w2 must be a single number, not NULL"),
    list(with_change("scale", set(good$scale, list(scale_min = 10.5))), "scale\\$scale_min must be whole numbers"),
    list(with_change("scale", set(good$scale, list(table = good$scale$table[1:3, ]))), "has 3 rows, but form Y has 4 score points"),
    list(with_change("scale", set(good$scale, list(table = transform(good$scale$table, scale = 1e20)))), "row 1: the scale score 1e\\+20 is too large")
  )
  expect_s3_class(do.call(equate, good), "irteq_equating")
  for (case in cases) {
    expect_error(do.call(equate, case[[1]]), case[[2]], class = "irteq_error")
  }

  e <- tryCatch(do.call(equate, cases[[11]][[1]]), irteq_error = identity)
  expect_identical(e[c("code", "input", "source", "item")],
                   list(code = "invalid_input", input = "items_x", source = "form X items", item = 1L))
})

test_that("readers and other entry points raise irteq_errors and warnings", {
  folder <- tempfile("bad")
  dir.create(folder)
  grid <- file.path(folder, "grid.qd")
  writeLines(c("title", "0 1", "1 abc"), grid)
  expect_error(read_grid(grid), "grid.qd line 3: expected a number, found 'abc'", class = "irteq_error")
  writeLines(c("title", "0 1 7", "1 1"), grid)
  expect_warning(read_grid(grid), "grid.qd line 2: 1 more number after the ability and weight is ignored",
                 class = "irteq_warning")
  expect_error(read_items(file.path(folder, "none.par")), "cannot open item parameter file", class = "irteq_error")
  expect_error(read_control(NA_character_), "path must be one file name", class = "irteq_error")
  expect_error(equate_files(42), "control must be one file name", class = "irteq_error")
  expect_error(items("L3", list(0:1), list(c(1.7, 1, 0, 2))), "items: item 1 .* c = 2 must lie", class = "irteq_error")
  expect_error(normal_grid(sd = 0), "sd a finite number above 0", class = "irteq_error")
  expect_error(write_grid(list(theta = 0, weight = Inf), grid), "must be finite numbers", class = "irteq_error")
  expect_error(write_control(c(output = "a"), grid), "files lacks old_para", class = "irteq_error")
})
