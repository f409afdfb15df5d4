# The technical report's tables from R: cut scores in memory as in a file,
# the console program's CSV files to the last bit, eap_table() against mirt's
# LSAT7 example, the plots, and bad input as R conditions.
example_inputs <- function() read_inputs(read_control(example_control()))
level_names <- c("Below \"Basic\"", "Basic, nearly", "Proficient", "Advanced")

test_that("cut scores given to equate() give the tables of a cut-score file, and the console program's CSV files", {
  folder <- tempfile("cuts")
  dir.create(folder)
  file.copy(list.files(dirname(example_control()), full.names = TRUE), folder)
  writeLines(c("Spring grade 7 performance levels", "'Below \"Basic\"'", "130 \"Basic, nearly\"",
               "150.5 \"Proficient\"   / a comment", "170 \"Advanced\""), file.path(folder, "levels.txt"))
  control <- write_control(c(read_control(file.path(folder, "control.txt"))[1:6], cut_scores = "levels.txt"),
                           file.path(folder, "control.txt"))
  from_file <- equate_files(control)
  memory <- do.call(equate, c(example_inputs(), list(cuts = c(130, 150.5, 170), levels = level_names)))
  expect_identical(memory$tables, from_file$tables)
  expect_identical(from_file$tables$cut_scores, list(cuts = c(130, 150.5, 170), levels = level_names))
  expect_identical(from_file$tables[c("scale_min", "scale_max")], list(scale_min = 100L, scale_max = 200L))

  skip_if(!nzchar(binary()), "IRTEQ_BINARY is not set")
  csv <- file.path(folder, "csv")
  status <- system2(binary(), c(shQuote(control), "--csv", shQuote(csv)), stdout = FALSE, stderr = FALSE)
  expect_identical(status, 0L)
  tables <- read_tables(csv)
  expect_identical(names(tables), c("conversion", "eap", "csem", "reliability", "classification"))
  expect_identical(from_file$tables[names(tables)], tables)
  # Each reported score's level is the one its cuts place it in.
  conversion <- from_file$tables$conversion
  expect_identical(conversion$true_level, level_names[findInterval(conversion$true_reported, c(130, 150.5, 170)) + 1L])

  # Unnamed levels are numbered, and the tables without cut scores lack the levels alone.
  numbered <- do.call(equate, c(example_inputs(), list(cuts = c(130, 150.5, 170))))
  expect_identical(numbered$tables$cut_scores$levels, c("1", "2", "3", "4"))
  plain <- do.call(equate, c(example_inputs(), list(tables = TRUE)))
  expect_identical(names(plain$tables), c("conversion", "eap", "csem", "reliability", "scale_min", "scale_max"))
  expect_true(all(is.na(plain$tables$conversion$true_level)))
  expect_identical(plain$tables$conversion[-c(5, 9)], conversion[-c(5, 9)])
  expect_null(do.call(equate, example_inputs())$tables)
})

test_that("eap_table() gives mirt's LSAT7 EAPs, and the tables' EAPs over the form's own distribution", {
  a <- c(0.988, 1.081, 1.706, 0.765, 0.736)
  d <- c(1.856, 0.808, 1.804, 0.486, 1.855)
  lsat7 <- items(rep("L3", 5), rep(list(0:1), 5), Map(function(a, d) c(1, a, -d / a, 0), a, d))
  e <- eap_table(lsat7, normal_grid(points = 61, range = c(-6, 6)))
  expect_identical(names(e), c("raw", "probability", "eap", "sd"))
  expect_identical(round(e$eap, 3), c(-1.870, -1.432, -0.949, -0.413, 0.152, 0.727))

  inputs <- example_inputs()
  eq <- do.call(equate, c(inputs, tables = TRUE))
  x <- eap_table(inputs$x_items, inputs$x_grid)
  expect_identical(as.list(x), as.list(eq$tables$eap[eq$tables$eap$form == "X", -1L]))
  expect_identical(x$probability, eq$distributions$group1[eq$distributions$form == "X"])
  expect_error(eap_table(lsat7, list(theta = 0:1, weight = c(1, -1))), "^grid: point 2: the quadrature weight -1",
               class = "irteq_error_invalid_input")
})

test_that("the tables' plots and the equivalents minus the raw scores draw, with and without standard errors", {
  skip_if_not(capabilities("cairo"))
  inputs <- example_inputs()
  p <- length(parameter_names(inputs$x_items, estimated = TRUE))
  leveled <- do.call(equate, c(inputs, list(cuts = c(130, 150.5, 170), levels = level_names, x_cov = diag(0.001, p),
                                            se = TRUE)))
  plain <- do.call(equate, c(inputs, tables = TRUE))
  layout <- c("mar", "mgp", "las", "mfrow", "oma")
  for (eq in list(leveled, plain)) {
    for (which in c("conversion", "csem", "differences")) {
      file <- tempfile(fileext = ".png")
      grDevices::png(file, width = 900, height = 650, type = "cairo")
      old <- graphics::par(layout)
      expect_silent(plot(eq, which = which, baseline = "raw"))
      expect_identical(graphics::par(layout), old)
      grDevices::dev.off()
      expect_gt(file.size(file), 10000, label = which)
    }
  }
})

# Rows of (arguments added to equate()'s, the condition's class, a pattern of its message).
test_that("bad cut scores and plots of missing tables are irteq_errors, R's or the library's", {
  invalid <- "irteq_error_invalid_input"
  cases <- list(
    list(list(cuts = "130"), invalid, "^cuts must be numeric, not character$"),
    list(list(cuts = c(130, NA)), invalid, "^cuts\\[2\\] is NA, not a number$"),
    list(list(levels = c("low", "high")), invalid, "^levels names the performance levels of cuts: give cuts too$"),
    list(list(cuts = 130, levels = 1:2), invalid, "^levels must be the levels' names"),
    list(list(tables = NA), invalid, "^tables must be TRUE or FALSE"),
    list(list(cuts = c(130, 150), levels = c("low", "high")), invalid, "^cuts: 2 level names for 2 cuts"),
    list(list(cuts = c(150, 130)), invalid, "^cuts: cut 2 \\(130\\) is not above cut 1 \\(150\\)"),
    list(list(cuts = c(130, 250)), invalid, "^cuts: cut 2 \\(250\\) is above the scale score maximum 200"),
    list(list(cuts = numeric()), invalid, "^cuts: no cut scores")
  )
  inputs <- example_inputs()
  for (case in cases) expect_error(do.call(equate, c(inputs, case[[1]])), case[[3]], class = case[[2]])
  e <- tryCatch(do.call(equate, c(inputs, list(cuts = c(130, 250)))), irteq_error = identity)
  expect_identical(e[c("input", "source", "row")], list(input = "cut_scores", source = "cuts", row = 2L))

  eq <- do.call(equate, inputs)
  expect_error(plot(eq, which = "csem"), "x has no tables: equate with tables = TRUE or cuts", class = invalid)
  expect_error(plot(eq, which = "differences", metric = "scale", baseline = "raw"), "metric = \"raw\"",
               class = invalid)
})
