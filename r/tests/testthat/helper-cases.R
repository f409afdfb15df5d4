# The generated cases and the console program that gives their reference
# values; both come from the environment (make r-check sets them).
cases_dir <- function() Sys.getenv("IRTEQ_CASES_DIR")
binary <- function() Sys.getenv("IRTEQ_BINARY")

example_control <- function() system.file("examples", "spring-grade7", "control.txt", package = "irteq")

# A copy of a case's inputs in a fresh folder: runs write their report beside the control file.
copy_case <- function(case) {
  folder <- tempfile(basename(case))
  dir.create(folder)
  files <- list.files(case, full.names = TRUE)
  file.copy(files[!dir.exists(files)], folder)
  file.path(folder, "control.txt")
}

# The R warnings of an expression, with its value.
with_warnings <- function(expr) {
  messages <- character()
  value <- withCallingHandlers(expr, warning = function(w) {
    messages <<- c(messages, conditionMessage(w))
    invokeRestart("muffleWarning")
  })
  list(value = value, warnings = messages)
}

# A CSV file's numbers read by a correctly rounded parser (R's own is not, for some 17-digit values).
read_numbers <- function(file, text_columns = character()) {
  d <- utils::read.csv(file, colClasses = "character")
  for (column in setdiff(names(d), text_columns)) d[[column]] <- irteq:::.parse_numbers(d[[column]])
  d
}

# items' parameters on the scale A * theta + B, by the transformation link() applies.
on_scale <- function(items, A, B) {
  items$parameters <- Map(function(type, p) {
    n <- length(p)
    switch(type,
      L3 = c(p[1], p[2] / A, A * p[3] + B, p[4]),
      SN = c(p[1] / A, A * p[-1] + B),
      SL = c(p[1:2] / c(1, A), A * p[-(1:2)] + B),
      MU = c(p[1:2] / c(1, A), A * p[3] + B, A * p[4:n]),
      BN = {
        a <- p[2:((n + 1) / 2)]
        c(p[1], a / A, p[((n + 3) / 2):n] - a * B / A)
      })
  }, items$type, items$parameters)
  items
}

# Form Y of every model, category scores not 0, ..., m - 1; form X is form Y on
# the scale theta_X = (theta_Y + 0.4) / 1.3, numbered from 11, with one item of its own.
mixed_y <- function() {
  items(c("L3", "SN", "SL", "BN", "MU", "L3"), list(0:1, c(1, 2, 4, 6), 0:3, c(0, 1, 3), c(0, 2, 4, 5), 0:1),
        list(c(1.7, 1.1, -0.6, 0.2), c(0.9, -1, 0.2, 1.1), c(1.7, 0.8, -0.5, 0.3, 1.2),
             c(1.7, -0.8, 0.1, 0.7, 0.5, 0.2, -0.7), c(1.7, 0.7, 0.2, 0, 0.8, -0.1, -0.7), c(1.7, 1.3, 0.9, 0.15)))
}
mixed_x <- function() {
  x <- on_scale(mixed_y(), 1 / 1.3, 0.4 / 1.3)
  x$item <- x$item + 10L
  rbind(x, items("L3", list(0:1), list(c(1.7, 0.9, 0.3, 0.2)), item = 99L))
}
