# Linking from R: plink's published constants on KB04, and the linked equating
# the same to the last bit from link() and equate(), from equate_files() on a
# control file that names common items, from the linked files written back
# out, and (when the console program is at hand) from its --csv files, whose
# run.csv names the files of equate_files()'s record.

# Every route to a linked equating, from a control file's folder: identical results throughout.
check_linked_equating <- function(control, label) {
  files <- read_control(control)
  common <- read_common_items(files[["common_items"]])
  inputs <- read_inputs(files)
  lk <- link(inputs$x_items, inputs$y_items, common$pairs, common$method, inputs$x_grid, inputs$y_grid,
             common$symmetric, screen = common$screen, cut = common$cut)
  expect_identical(lk$method, common$method, label = label)

  eq <- equate_files(control)
  expect_identical(eq$linking, lk, label = label)
  expect_output(print(eq), paste("after linking form X's scale onto form Y's:.*by", common$method), label = label)
  unlinked <- eq
  unlinked$linking <- NULL
  from_objects <- equate(lk$x_items, inputs$y_items, lk$x_grid, inputs$y_grid, inputs$scale)
  expect_identical(from_objects, unlinked, label = label, ignore_attr = "run")
  record <- attr(from_objects, "run")
  expect_identical(record$value[record$field %in% c("front_end", "input")], c("R equate()", "none: built in memory"),
                   label = label)
  expect_identical(do.call(equate, c(inputs, list(linking = lk))), eq, label = label, ignore_attr = "run")

  # The linked items and grid banked in files, and equated without linking again.
  folder <- dirname(control)
  write_items(lk$x_items, file.path(folder, "linked.par"))
  write_grid(lk$x_grid, file.path(folder, "linked.qd"))
  files[c("new_para", "new_quad", "common_items")] <- c(file.path(folder, c("linked.par", "linked.qd")), "")
  expect_identical(equate_files(write_control(files, file.path(folder, "banked.txt"))), unlinked, label = label,
                   ignore_attr = "run")

  if (nzchar(binary())) {
    csv <- file.path(folder, "csv")
    status <- system2(binary(), c(shQuote(control), "--csv", shQuote(csv)), stdout = FALSE, stderr = FALSE)
    expect_identical(status, 0L, label = label)
    console <- read_numbers(file.path(csv, "linking.csv"), "method")
    expect_identical(console[c("method", "A", "B")], lk$methods[c("method", "A", "B")], label = label)
    expect_identical(console$method[console$applied == 1], lk$method, label = label)
    expect_identical(read_anchors(file.path(csv, "common_items.csv")), lk$anchors, label = label)
    expect_identical(read_items(file.path(csv, "linked_items_x.par")), structure(lk$x_items, class = "data.frame"),
                     label = label)
    expect_identical(as.data.frame(eq), read_numbers(file.path(csv, "equivalents.csv")), label = label)
    # The run's record names the very files of run.csv, to their sizes and SHA-256.
    record <- attr(eq, "run")
    console <- utils::read.csv(file.path(csv, "run.csv"), colClasses = vapply(record, class, ""))
    inputs_of <- function(r) `rownames<-`(r[r$field == "input", -1], NULL)
    expect_identical(inputs_of(record), inputs_of(console), label = label)
    expect_identical(record$value[record$field == "front_end"], "R equate_files()", label = label)
  }
  lk
}

test_that("KB04 gives plink's published constants, and its linked equating is the same by every route", {
  folder <- validation_example("kb04")
  expected <- utils::read.csv(file.path(folder, "expected.csv"))
  for (control in unique(expected$control)) {
    lk <- check_linked_equating(file.path(dirname(copy_case(folder)), control), control)
    rows <- expected[expected$control == control, ]
    got <- lk$methods[match(rows$method, lk$methods$method), ]
    expect_lt(max(abs(got$A - rows$A), abs(got$B - rows$B)), 2e-6, label = control)
  }
})

test_that("a form of every model linked to a known transformation of itself gives it back, by every route", {
  y <- mixed_y()
  x <- mixed_x()
  common <- data.frame(x_item = 11:16, y_item = 1:6)
  x_grid <- normal_grid(0.2, 0.9)
  for (symmetric in c(FALSE, TRUE)) {
    for (method in c("mean-mean", "mean-sigma", "haebara", "stocking-lord")[if (symmetric) 3:4 else 1:4]) {
      lk <- link(x, y, common, method, x_grid, normal_grid(), symmetric)
      label <- paste(method, symmetric)
      expect_lt(max(abs(c(lk$A, lk$B) - c(1.3, -0.4))), 1e-9, label = label)
      expect_lt(max(lk$anchors$rmsd), 1e-9, label = label)
    }
  }
  expect_identical(lk$x_items$type, x$type)
  expect_identical(lk$x_grid$weight, x_grid$weight)
  expect_identical(lk$x_grid$theta, lk$A * x_grid$theta + lk$B)

  lk <- check_linked_equating(write_mixed_run(tempfile("mixed"), "haebara", symmetric = TRUE), "mixed")

  expect_output(print(lk), "theta_Y = A \\* theta_X \\+ B by haebara \\(symmetric\\)")
  expect_output(print(summary(lk)), "group 1 \\(took form X\\)")
  file <- tempfile(fileext = ".png")
  if (capabilities("cairo")) grDevices::png(file, type = "cairo") else grDevices::pdf(NULL)
  on.exit(grDevices::dev.off())
  expect_silent(plot(lk))
  expect_silent(plot(lk, which = "items", items = 2:3, main = "two items"))
  expect_error(plot(lk, items = 7), "items must be positions of common items, 1 to 6",
               class = "irteq_error_invalid_input")
})

test_that("common items named by label link as by number, to the last bit, in link(), files and equate()", {
  y <- mixed_y()
  x <- mixed_x()
  y$label <- sprintf("R%02d", seq_len(nrow(y)))
  x$label <- c(y$label, "X07")
  by_number <- link(x, y, data.frame(x_item = c(11L, 13:16), y_item = c(1L, 3:6)), "haebara", normal_grid(0.2, 0.9),
                    normal_grid())
  common <- data.frame(x_item = y$label[c(1, 3:6)], y_item = y$label[c(1, 3:6)])
  by_label <- link(x, y, common, "haebara", normal_grid(0.2, 0.9), normal_grid())
  expect_identical(by_label, by_number)
  expect_identical(by_label$anchors$x_label, y$label[c(1, 3:6)])
  expect_identical(by_label$anchors$x_item, c(11L, 13:16))
  expect_output(print(by_label), "x_item x_label y_item y_label")
  x$item[2] <- x$item[1]  # a number that names two items: a label still names one
  two <- link(x, y, data.frame(x_item = y$label[1:2], y_item = 1:2), "haebara", normal_grid(0.2, 0.9), normal_grid())
  expect_identical(two$anchors[c("x_item", "x_label", "y_label")],
                   data.frame(x_item = c(11L, 11L), x_label = y$label[1:2], y_label = y$label[1:2]))
  expect_identical(equate(x, y, normal_grid(0.2, 0.9), normal_grid(), w2 = 0.5, linking = two)$linking, two)

  file <- tempfile(fileext = ".txt")
  write_common_items(data.frame(x_item = y$label[1:2], y_item = 1:2), file, "haebara")
  expect_identical(readLines(file)[3:4], c("'R01' 1", "'R02' 2"))
  pairs <- read_common_items(file)$pairs
  expect_identical(pairs, data.frame(x_item = c(NA_integer_, NA_integer_), y_item = 1:2, x_label = y$label[1:2],
                                     y_label = c("", "")))
  expect_identical(link(x, y, pairs, "haebara", normal_grid(0.2, 0.9), normal_grid()), two)

  expect_error(link(x, y, data.frame(x_item = c("R01", "R99"), y_item = 1:2), "haebara", normal_grid(), normal_grid()),
               "pair 2 \\(form X item 'R99', form Y item 2\\): form X has no item labelled 'R99'",
               class = "irteq_error_invalid_input")
  y$label[2] <- "R01"
  expect_error(link(x, y, data.frame(x_item = 13:14, y_item = c("R01", "R03")), "haebara", normal_grid(), normal_grid()),
               "form Y has two items labelled 'R01' \\(items 1 and 2\\)", class = "irteq_error_invalid_input")
})

test_that("a screened linking leaves the drifted anchors out, the same by every route", {
  control <- write_mixed_run(tempfile("screened"), "stocking-lord", x = drifted_x(), screen = "robust-z", cut = 2.7)
  lk <- check_linked_equating(control, "screened")
  expect_identical(read_common_items(read_control(control)[["common_items"]])[c("screen", "cut")],
                   list(screen = "robust-z", cut = 2.7))
  expect_lt(max(abs(c(lk$A, lk$B) - c(1.3, -0.4))), 1e-9)
  expect_identical(lk$anchors$removed_round, c(1L, 0L, 0L, 0L, 0L, 1L))
  expect_identical(lk$rounds$flagged, c("11/1 16/6", "11/1 16/6"))
  expect_output(print(lk), "Screened by robust-z \\(\\|z\\| above 2.7\\): settled in round 2, 2 of 6 pairs removed")

  # The drift plot, flagged pairs or none, and with nothing to draw ("BN" items alone).
  bn <- items(c("BN", "BN"), list(0:2, 0:2), rep(list(c(1.7, -0.8, 0.1, 0.7, 0.5, 0.2, -0.7)), 2))
  unscreened <- link(drifted_x(), mixed_y(), cbind(11:16, 1:6), "haebara", normal_grid(), normal_grid())
  linkings <- list(lk, unscreened, link(bn, bn, cbind(1:2, 1:2), "haebara", normal_grid(), normal_grid()))
  skip_if_not(capabilities("cairo"))
  for (i in seq_along(linkings)) {
    file <- tempfile(fileext = ".png")
    grDevices::png(file, width = 900, height = 500, type = "cairo")
    expect_silent(plot(linkings[[i]], which = "drift"))
    grDevices::dev.off()
    expect_gt(file.size(file), 5000, label = i)
  }
})

test_that("screening by the Wald test reads the covariance files, as the console program does", {
  covariance <- function(items) diag(0.001, length(parameter_names(items, estimated = TRUE)))
  control <- write_mixed_run(tempfile("wald"), "stocking-lord", covariance = covariance, x = drifted_x(),
                             screen = "wald", cut = 0.01)
  x <- drifted_x()
  y <- mixed_y()
  lk <- link(x, y, cbind(11:16, 1:6), "stocking-lord", normal_grid(0.2, 0.9), normal_grid(), x_cov = covariance(x),
             y_cov = covariance(y), screen = "wald", cut = 0.01)
  expect_identical(lk$anchors$flagged, c(TRUE, FALSE, FALSE, FALSE, FALSE, TRUE))
  expect_identical(equate_files(control)$linking$anchors, lk$anchors)
  if (nzchar(binary())) {
    csv <- file.path(dirname(control), "csv")
    expect_identical(system2(binary(), c(shQuote(control), "--csv", shQuote(csv)), stdout = FALSE, stderr = FALSE),
                     0L)
    expect_identical(read_anchors(file.path(csv, "common_items.csv")), lk$anchors)
  }
})

# Rows of (changes to link()'s arguments, the condition's class, a pattern of its message).
test_that("bad arguments of link() are irteq_errors of their kind", {
  y <- mixed_y()
  good <- list(x_items = mixed_x(), y_items = y, common = data.frame(x_item = 11:16, y_item = 1:6),
               method = "stocking-lord", x_grid = normal_grid(), y_grid = normal_grid())
  # Form X's curves fall where form Y's rise: no A > 0 fits them.
  rising <- list(c(1.7, 1, -1, 0), c(1.7, 1.2, 0, 0), c(1.7, 0.8, 1, 0))
  l3 <- function(parameters) items(rep("L3", 3), rep(list(0:1), 3), parameters)
  falling <- lapply(rising, function(p) p * c(1, -1, -1, 1))
  bn <- items(c("BN", "BN"), list(0:2, 0:2), rep(list(c(1.7, -0.8, 0.1, 0.7, 0.5, 0.2, -0.7)), 2))
  invalid <- "irteq_error_invalid_input"
  cases <- list(
    list(list(common = "3 1"), invalid, "^common must be a data frame or list, not character$"),
    list(list(common = matrix(1:6, 2)), invalid, "^common must be a matrix of two columns, x_item and y_item, not 3$"),
    list(list(common = list(x_item = 11:12)), invalid, "^common lacks the column y_item$"),
    list(list(common = data.frame(x_item = c(11, NA), y_item = 1:2)), invalid, "^common\\$x_item\\[2\\] is NA"),
    list(list(method = "tucker"), invalid, "^method is 'tucker'; write mean-mean, mean-sigma, haebara or stocking"),
    list(list(method = "mean-sigma", symmetric = TRUE), invalid, "^common: symmetric applies to the characteristic"),
    list(list(x_grid = NULL), invalid, "^argument x_grid is missing, with no default$"),
    list(list(symmetric = NA), invalid, "^symmetric must be TRUE or FALSE"),
    list(list(common = cbind(c(11, 98), 1:2)), invalid,
         "^common: pair 2 \\(form X item 98, form Y item 2\\): form X has no item numbered 98$"),
    list(list(common = cbind(c(11, 12), c(1, 1))), invalid, "^common: pair 2 .*: form Y item 1 is already in pair 1"),
    list(list(common = cbind(c(11, 13), c(1, 2))), invalid, "differ in model: \"SL\" in form X, \"SN\" in form Y"),
    list(list(common = cbind(11, 1)), invalid, "^common: 1 pair of common items; linking needs at least two$"),
    list(list(x_items = bn, y_items = bn, common = cbind(1:2, 1:2), method = "mean-sigma"), invalid,
         "^common: mean-sigma linking failed: no common item has a slope"),
    list(list(x_grid = list(theta = 0:1, weight = c(1, -1))), invalid, "^x_grid: point 2: the quadrature weight -1"),
    list(list(x_items = l3(falling), y_items = l3(rising), common = cbind(1:3, 1:3)), "irteq_error_linking_failed",
         "^common: stocking-lord linking failed: no convergence"),
    list(list(screen = "lord"), invalid, "^screen is 'lord'; write none, robust-z, rmsd or wald$"),
    list(list(screen = "rmsd"), invalid, "^screen rmsd needs cut"),
    list(list(cut = 0.1), invalid, "^cut is given but screen is none"),
    list(list(screen = "Robust-Z", cut = -1), invalid,
         "^common: screen robust-z: the cut is -1; it must be a finite number above 0$"),
    list(list(screen = "wald", cut = 0.05), invalid, "^common: screen wald needs the covariance"),
    list(list(screen = "rmsd", cut = 1e-300), "irteq_error_linking_failed",
         "^common: screen rmsd round 1 flags 6 of 6 common items, more than half")
  )
  with <- function(changes) {
    good[names(changes)] <- changes
    Filter(Negate(is.null), good)
  }
  for (case in cases) {
    e <- expect_error(do.call(link, with(case[[1]])), case[[3]], class = case[[2]])
    expect_s3_class(e, c(paste0("irteq_error_", e$code), "irteq_error"), exact = FALSE)
  }
  e <- tryCatch(do.call(link, with(list(common = cbind(c(11, 98), 1:2)))), irteq_error = identity)
  expect_identical(e[c("input", "source", "row")], list(input = "common_items", source = "common", row = 2L))
  # Other programs' spellings of the methods.
  spellings <- c(SL = "stocking-lord", "Stocking-Lord" = "stocking-lord", hb = "haebara", Haebara = "haebara",
                 MM = "mean-mean", "mean/mean" = "mean-mean", MS = "mean-sigma", "Mean-Sigma" = "mean-sigma")
  for (spelling in names(spellings)) {
    expect_identical(do.call(link, with(list(method = spelling)))$method, spellings[[spelling]], label = spelling)
  }
})

test_that("common-item files: read_common_items() reads what write_common_items() writes, and refuses bad ones", {
  file <- tempfile(fileext = ".txt")
  pairs <- data.frame(x_item = c(3L, 7L, 12L), y_item = c(1L, 4L, 9L))
  write_common_items(pairs, file, "haebara", symmetric = TRUE)
  expect_identical(read_common_items(file),
                   list(method = "haebara", symmetric = TRUE, screen = "none", cut = NULL,
                        pairs = cbind(pairs, x_label = "", y_label = "")))
  write_common_items(pairs, file, "MM", screen = "wald", cut = 0.1 + 0.2)
  expect_identical(read_common_items(file)[c("method", "screen", "cut")],
                   list(method = "mean-mean", screen = "wald", cut = 0.1 + 0.2))
  writeLines(c("anchors", "tucker", "3 1"), file)
  e <- expect_error(read_common_items(file), "line 2: .*unknown linking method 'tucker'",
                    class = "irteq_error_invalid_input")
  expect_identical(e$line, 2L)
})
